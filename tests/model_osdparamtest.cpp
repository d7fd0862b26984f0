#include "memberlayout.h"

#include <model/records/model_osdparam.h>

#include <QtTest/QtTest>

namespace {

// Every member in declaration order with its width in bytes.
using Layout = model_OsdParam;
// clang-format off
const LayoutMember<Layout> s_members[] = {
    LAYOUT_FIELD(m_osdByte1, 1), LAYOUT_FIELD(m_osdByte2, 1), LAYOUT_FIELD(m_osdByte3, 1),
    LAYOUT_FIELD(m_osdByte4, 1), LAYOUT_FIELD(m_osdByte5, 1), LAYOUT_FIELD(m_osdByte6, 1),
    LAYOUT_FIELD(m_osdByte7, 1), LAYOUT_FIELD(m_osdByte8, 1), LAYOUT_FIELD(m_osdByte9, 1),
    LAYOUT_FIELD(m_osdByte10, 1), LAYOUT_FIELD(m_osdByte11, 1), LAYOUT_FIELD(m_osdText1, String),
    LAYOUT_FIELD(m_osdByte12, 1), LAYOUT_FIELD(m_osdNumber1, 4), LAYOUT_FIELD(m_osdText2, String),
    LAYOUT_FIELD(m_osdData, Bytes), LAYOUT_FIELD(m_osdNumber2, 4),
};
// clang-format on

} // namespace

class ModelOsdParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaults()
    {
        // clang-format off
        const QVariantList expected{0, 0, 0xFE, 0xDC, 0, 0, 0, 0, 0, 0x0D, 0x0A, QString(), 0, 3000, QString(),
                                    QByteArray(), -1};
        // clang-format on
        const model_OsdParam original;
        QCOMPARE(fieldValues(s_members, original), expected);
        model_OsdParam copy = original; // must not share what it changes
        copy.m_osdData.append('\x01');
        QCOMPARE(fieldValues(s_members, original), expected);
    }

    void layout_data() { addLayoutTable("model_OsdParam", s_members); }
    void layout() { checkLayoutRow(); }
};

QTEST_GUILESS_MAIN(ModelOsdParamTest)
#include "model_osdparamtest.moc"
