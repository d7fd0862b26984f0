#include "memberlayout.h"

#include <model/records/model_api_param.h>

#include <QtTest/QtTest>

namespace {

// Every member in declaration order with its width in bytes.
using Layout = model_API_param;
// clang-format off
const LayoutMember<Layout> s_members[] = {
    LAYOUT_FIELD(m_apiText1, String), LAYOUT_FIELD(m_apiText2, String), LAYOUT_FIELD(m_apiNumber1, 4),
    LAYOUT_FIELD(m_apiNumber2, 4), LAYOUT_FIELD(m_apiNumber3, 4), LAYOUT_FIELD(m_apiNumber4, 4),
    LAYOUT_FIELD(m_netText1, String), LAYOUT_FIELD(m_netText2, String), LAYOUT_FIELD(m_netText3, String),
    LAYOUT_FIELD(m_apiNumber5, 4), LAYOUT_FIELD(m_apiNumber6, 4), LAYOUT_FIELD(m_apiNumber7, 4),
    LAYOUT_FIELD(m_apiNumber8, 4),
};
// clang-format on

} // namespace

class ModelApiParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resets()
    {
        const QString e, x = QStringLiteral("x");
        const QVariantList defaults{e, e, -1, 0, 0, 0, e, e, e, 0, 0, -1, 0};
        QCOMPARE(fieldValues(s_members, model_API_param()), defaults);

        // Every field away from its default, and a copy that must not follow what comes after.
        model_API_param p;
        p.m_apiText1 = p.m_apiText2 = p.m_netText1 = p.m_netText2 = p.m_netText3 = x;
        p.m_apiNumber1 = p.m_apiNumber2 = p.m_apiNumber3 = p.m_apiNumber4 = 7;
        p.m_apiNumber5 = p.m_apiNumber6 = p.m_apiNumber7 = p.m_apiNumber8 = 7;
        const model_API_param copy = p;
        p.clearNetData();
        QCOMPARE(fieldValues(s_members, p), QVariantList({x, x, 7, 7, 7, 7, e, e, e, 7, 7, 7, 7}));
        p.clearData();
        QCOMPARE(fieldValues(s_members, p), defaults);
        QCOMPARE(fieldValues(s_members, copy),
                 QVariantList({x, x, 7, 7, 7, 7, x, x, x, 7, 7, 7, 7}));
    }

    // The members follow the vtable pointer of the virtual destructor.
    void layout_data() { addLayoutTable("model_API_param", s_members, Pointer); }
    void layout() { checkLayoutRow(); }
};

QTEST_GUILESS_MAIN(ModelApiParamTest)
#include "model_api_paramtest.moc"
