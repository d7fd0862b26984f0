#include <model/records/model_api_param.h>

#include "memberlayout.h"

#include <QtTest/QtTest>

#include <type_traits>

// The client deletes records through pointers to this class.
static_assert(std::has_virtual_destructor<model_API_param>::value, "virtual destructor");

namespace {

QVariantList fields(const model_API_param &p)
{
    return {p.m_apiText1,   p.m_apiText2,   p.m_apiNumber1, p.m_apiNumber2, p.m_apiNumber3,
            p.m_apiNumber4, p.m_netText1,   p.m_netText2,   p.m_netText3,   p.m_apiNumber5,
            p.m_apiNumber6, p.m_apiNumber7, p.m_apiNumber8};
}

const QString e;
const QVariantList s_defaults = {e, e, -1, 0, 0, 0, e, e, e, 0, 0, -1, 0};

// Every field away from its default.
model_API_param filled()
{
    model_API_param p;
    p.m_apiText1 = QStringLiteral("api 1");
    p.m_apiText2 = QStringLiteral("api 2");
    p.m_netText1 = QStringLiteral("net 1");
    p.m_netText2 = QStringLiteral("net 2");
    p.m_netText3 = QStringLiteral("net 3");
    int n = 10;
    for (int *number : {&p.m_apiNumber1, &p.m_apiNumber2, &p.m_apiNumber3, &p.m_apiNumber4,
                        &p.m_apiNumber5, &p.m_apiNumber6, &p.m_apiNumber7, &p.m_apiNumber8})
        *number = ++n;
    return p;
}

} // namespace

class ModelApiParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resets();
    void copiesAreIndependent();
    void layout_data();
    void layout() { checkLayoutRow(); }
};

void ModelApiParamTest::resets()
{
    QCOMPARE(fields(model_API_param()), s_defaults);

    model_API_param p = filled();
    p.clearNetData();
    QVariantList expected = fields(filled());
    expected[6] = expected[7] = expected[8] = e;
    QCOMPARE(fields(p), expected);

    p = filled();
    p.clearData();
    QCOMPARE(fields(p), s_defaults);
}

void ModelApiParamTest::copiesAreIndependent()
{
    const model_API_param original = filled();
    model_API_param copy = original;
    copy.m_netText1[0] = QLatin1Char('N');
    copy.clearNetData();
    copy.m_apiNumber1 = 0;
    QCOMPARE(fields(original), fields(filled()));
}

void ModelApiParamTest::layout_data()
{
    using A = model_API_param;
    // clang-format off
    const LayoutMember<A> members[] = {
        LAYOUT_MEMBER(A, m_apiText1, Handle), LAYOUT_MEMBER(A, m_apiText2, Handle),
        LAYOUT_MEMBER(A, m_apiNumber1, 4), LAYOUT_MEMBER(A, m_apiNumber2, 4),
        LAYOUT_MEMBER(A, m_apiNumber3, 4), LAYOUT_MEMBER(A, m_apiNumber4, 4),
        LAYOUT_MEMBER(A, m_netText1, Handle), LAYOUT_MEMBER(A, m_netText2, Handle),
        LAYOUT_MEMBER(A, m_netText3, Handle), LAYOUT_MEMBER(A, m_apiNumber5, 4),
        LAYOUT_MEMBER(A, m_apiNumber6, 4), LAYOUT_MEMBER(A, m_apiNumber7, 4),
        LAYOUT_MEMBER(A, m_apiNumber8, 4),
    };
    // clang-format on
    addLayoutColumns();
    // The vtable pointer comes first.
    addLayoutRows("model_API_param", members, int(sizeof(void *)));
}

QTEST_GUILESS_MAIN(ModelApiParamTest)
#include "model_api_paramtest.moc"
