#include "memberlayout.h"

#include <model/records/model_protocoldata.h>

#include <QtTest/QtTest>

namespace {

// Every member in declaration order with its width in bytes.
using Layout = model_Protocoldata;
// clang-format off
const LayoutMember<Layout> s_members[] = {
    LAYOUT_FIELD(m_ipAddress1, String), LAYOUT_FIELD(m_protoByte1, 1), LAYOUT_FIELD(m_ipAddress2, String),
    LAYOUT_FIELD(m_protoByte2, 1), LAYOUT_FIELD(m_protoWord1, 2), LAYOUT_FIELD(m_protoWord2, 2),
    LAYOUT_FIELD(m_protoByte3, 1), LAYOUT_FIELD(m_protoWord3, 2), LAYOUT_FIELD(m_protoWord4, 2),
    LAYOUT_FIELD(m_protoWord5, 2), LAYOUT_FIELD(m_protoByte4, 1), LAYOUT_FIELD(m_protoByte5, 1),
    LAYOUT_FIELD(m_protoByte6, 1), LAYOUT_FIELD(m_protoByte7, 1), LAYOUT_FIELD(m_protoByte8, 1),
    LAYOUT_FIELD(m_protoByte9, 1), LAYOUT_FIELD(m_protoByte10, 1), LAYOUT_FIELD(m_protoNumber1, 4),
    LAYOUT_FIELD(m_protoText, String), LAYOUT_FIELD(m_protoData, Bytes), LAYOUT_FIELD(m_protoByte11, 1),
    LAYOUT_FIELD(m_protoNumber2, 4),
};
// clang-format on

} // namespace

class ModelProtocoldataTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaults()
    {
        const QString address = QStringLiteral("100.100.100.100");
        // clang-format off
        const QVariantList expected{address, 0, address, 0, 0xF00F, 0xF11F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    3000, QString(), QByteArray(), 0, -1};
        // clang-format on
        const model_Protocoldata original;
        QCOMPARE(fieldValues(s_members, original), expected);
        model_Protocoldata copy = original; // must not share what it changes
        copy.m_ipAddress1[0] = QLatin1Char('2');
        QCOMPARE(fieldValues(s_members, original), expected);
    }

    void layout_data() { addLayoutTable("model_Protocoldata", s_members); }
    void layout() { checkLayoutRow(); }
};

QTEST_GUILESS_MAIN(ModelProtocoldataTest)
#include "model_protocoldatatest.moc"
