#include <model/records/model_api_param.h>

#include <QtTest/QtTest>

namespace {

QVariantList apiFields(const model_API_param &p)
{
    return {p.m_apiText1,   p.m_apiText2,   p.m_apiNumber1, p.m_apiNumber2, p.m_apiNumber3,
            p.m_apiNumber4, p.m_netText1,   p.m_netText2,   p.m_netText3,   p.m_apiNumber5,
            p.m_apiNumber6, p.m_apiNumber7, p.m_apiNumber8};
}

} // namespace

// What the record operations reset. The defaults of every record, and the member order, are
// pinned by the fingerprints of the new records' documents in modelstatetest.
class ModelRecordsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void apiClears()
    {
        const QString e, x = QStringLiteral("x");
        // Every field away from its default.
        model_API_param p;
        p.m_apiText1 = p.m_apiText2 = p.m_netText1 = p.m_netText2 = p.m_netText3 = x;
        p.m_apiNumber1 = p.m_apiNumber2 = p.m_apiNumber3 = p.m_apiNumber4 = 7;
        p.m_apiNumber5 = p.m_apiNumber6 = p.m_apiNumber7 = p.m_apiNumber8 = 7;
        // clearNetData(): the network texts only.
        p.clearNetData();
        QCOMPARE(apiFields(p), (QVariantList{x, x, 7, 7, 7, 7, e, e, e, 7, 7, 7, 7}));
        p.m_netText2 = x;
        // clearData(): every default.
        p.clearData();
        QCOMPARE(apiFields(p), (QVariantList{e, e, -1, 0, 0, 0, e, e, e, 0, 0, -1, 0}));
    }
};

QTEST_GUILESS_MAIN(ModelRecordsTest)
#include "model_recordstest.moc"
