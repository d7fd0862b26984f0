#include <model/records/model_api_param.h>
#include <model/records/model_osdparam.h>
#include <model/records/model_protocoldata.h>

#include <QtTest/QtTest>

#include <functional>

namespace {

using Fields = std::function<QVariantList()>;

const QString e;
const QString x = QStringLiteral("x");

QVariantList apiFields(const model_API_param &p)
{
    return {p.m_apiText1,   p.m_apiText2,   p.m_apiNumber1, p.m_apiNumber2, p.m_apiNumber3,
            p.m_apiNumber4, p.m_netText1,   p.m_netText2,   p.m_netText3,   p.m_apiNumber5,
            p.m_apiNumber6, p.m_apiNumber7, p.m_apiNumber8};
}

// Every field away from its default.
model_API_param touchedApi()
{
    model_API_param p;
    p.m_apiText1 = p.m_apiText2 = p.m_netText1 = p.m_netText2 = p.m_netText3 = x;
    p.m_apiNumber1 = p.m_apiNumber2 = p.m_apiNumber3 = p.m_apiNumber4 = 7;
    p.m_apiNumber5 = p.m_apiNumber6 = p.m_apiNumber7 = p.m_apiNumber8 = 7;
    return p;
}

} // namespace

Q_DECLARE_METATYPE(Fields)

// The plain records: the defaults their clients test against, what the operations reset, and
// copies that go their own way.
class ModelRecordsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fields_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QVariantList>("expected");
        const QVariantList apiDefaults{e, e, -1, 0, 0, 0, e, e, e, 0, 0, -1, 0};
        const QVariantList touched{x, x, 7, 7, 7, 7, x, x, x, 7, 7, 7, 7};

        QTest::newRow("api defaults")
            << Fields([] { return apiFields(model_API_param()); }) << apiDefaults;
        QTest::newRow("api clearNetData: network texts only") << Fields([] {
            model_API_param p = touchedApi();
            p.clearNetData();
            return apiFields(p);
        }) << QVariantList{x, x, 7, 7, 7, 7, e, e, e, 7, 7, 7, 7};
        QTest::newRow("api clearData: every default") << Fields([] {
            model_API_param p = touchedApi();
            p.clearData();
            return apiFields(p);
        }) << apiDefaults;
        QTest::newRow("api copy before clearData") << Fields([] {
            model_API_param p = touchedApi();
            const model_API_param copy = p;
            p.clearData();
            return apiFields(copy);
        }) << touched;

        const QString address = QStringLiteral("100.100.100.100");
        QTest::newRow("protocol defaults, original of a changed copy") << Fields([] {
            const model_Protocoldata p;
            model_Protocoldata copy = p;
            copy.m_ipAddress1[0] = QLatin1Char('2');
            return QVariantList{p.m_ipAddress1, p.m_ipAddress2,   p.m_protoWord1,  p.m_protoWord2,
                                p.m_protoByte1, p.m_protoNumber1, p.m_protoNumber2};
        }) << QVariantList{address, address, 0xF00F, 0xF11F, 0, 3000, -1};
        QTest::newRow("osd defaults, original of a changed copy") << Fields([] {
            const model_OsdParam p;
            model_OsdParam copy = p;
            copy.m_osdData.append('\x01');
            return QVariantList{p.m_osdByte3,   p.m_osdByte4,   p.m_osdByte10, p.m_osdByte11,
                                p.m_osdNumber1, p.m_osdNumber2, p.m_osdData};
        }) << QVariantList{0xFE, 0xDC, 0x0D, 0x0A, 3000, -1, QByteArray()};
    }

    void fields()
    {
        QFETCH(Fields, fields);
        QFETCH(QVariantList, expected);
        QCOMPARE(fields(), expected);
    }
};

QTEST_GUILESS_MAIN(ModelRecordsTest)
#include "model_recordstest.moc"
