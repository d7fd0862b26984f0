#include <model/records/model_osdparam.h>

#include "memberlayout.h"

#include <QtTest/QtTest>

namespace {

QVariantList fields(const model_OsdParam &p)
{
    return {p.m_osdByte1,  p.m_osdByte2,   p.m_osdByte3, p.m_osdByte4,  p.m_osdByte5,  p.m_osdByte6,
            p.m_osdByte7,  p.m_osdByte8,   p.m_osdByte9, p.m_osdByte10, p.m_osdByte11, p.m_osdText1,
            p.m_osdByte12, p.m_osdNumber1, p.m_osdText2, p.m_osdData,   p.m_osdNumber2};
}

} // namespace

class ModelOsdParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaults();
    void copiesAreIndependent();
    void layout_data();
    void layout() { checkLayoutRow(); }
};

void ModelOsdParamTest::defaults()
{
    const QVariantList expected
        = {0, 0,    0xFE,      0xDC,         0, 0, 0, 0, 0, 0x0D, 0x0A, QString(),
           0, 3000, QString(), QByteArray(), -1};
    QCOMPARE(fields(model_OsdParam()), expected);
}

void ModelOsdParamTest::copiesAreIndependent()
{
    model_OsdParam original;
    original.m_osdText1 = QStringLiteral("osd");
    original.m_osdData = QByteArray("\xFE\xDC", 2);
    const QVariantList before = fields(original);

    model_OsdParam copy = original;
    copy.m_osdText1[0] = QLatin1Char('O');
    copy.m_osdText2.append(QLatin1String("text"));
    copy.m_osdData[1] = '\x0D';
    copy.m_osdByte3 = 0;
    QCOMPARE(fields(original), before);
    QCOMPARE(copy.m_osdText1, QStringLiteral("Osd"));
}

void ModelOsdParamTest::layout_data()
{
    using O = model_OsdParam;
    // clang-format off
    const LayoutMember<O> members[] = {
        LAYOUT_MEMBER(O, m_osdByte1, 1), LAYOUT_MEMBER(O, m_osdByte2, 1), LAYOUT_MEMBER(O, m_osdByte3, 1),
        LAYOUT_MEMBER(O, m_osdByte4, 1), LAYOUT_MEMBER(O, m_osdByte5, 1), LAYOUT_MEMBER(O, m_osdByte6, 1),
        LAYOUT_MEMBER(O, m_osdByte7, 1), LAYOUT_MEMBER(O, m_osdByte8, 1), LAYOUT_MEMBER(O, m_osdByte9, 1),
        LAYOUT_MEMBER(O, m_osdByte10, 1), LAYOUT_MEMBER(O, m_osdByte11, 1),
        LAYOUT_MEMBER(O, m_osdText1, Handle), LAYOUT_MEMBER(O, m_osdByte12, 1),
        LAYOUT_MEMBER(O, m_osdNumber1, 4), LAYOUT_MEMBER(O, m_osdText2, Handle),
        LAYOUT_MEMBER(O, m_osdData, Handle), LAYOUT_MEMBER(O, m_osdNumber2, 4),
    };
    // clang-format on
    addLayoutColumns();
    addLayoutRows("model_OsdParam", members);
}

QTEST_GUILESS_MAIN(ModelOsdParamTest)
#include "model_osdparamtest.moc"
