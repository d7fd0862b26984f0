#include <model/records/model_protocoldata.h>

#include "memberlayout.h"

#include <QtTest/QtTest>

namespace {

QVariantList fields(const model_Protocoldata &p)
{
    return {p.m_ipAddress1,  p.m_protoByte1,  p.m_ipAddress2,   p.m_protoByte2, p.m_protoWord1,
            p.m_protoWord2,  p.m_protoByte3,  p.m_protoWord3,   p.m_protoWord4, p.m_protoWord5,
            p.m_protoByte4,  p.m_protoByte5,  p.m_protoByte6,   p.m_protoByte7, p.m_protoByte8,
            p.m_protoByte9,  p.m_protoByte10, p.m_protoNumber1, p.m_protoText,  p.m_protoData,
            p.m_protoByte11, p.m_protoNumber2};
}

} // namespace

class ModelProtocoldataTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaults();
    void copiesAreIndependent();
    void layout_data();
    void layout() { checkLayoutRow(); }
};

void ModelProtocoldataTest::defaults()
{
    const QString address = QStringLiteral("100.100.100.100");
    const QVariantList expected
        = {address, 0, address, 0,    0xF00F,    0xF11F,       0, 0, 0, 0, 0, 0, 0, 0,
           0,       0, 0,       3000, QString(), QByteArray(), 0, -1};
    QCOMPARE(fields(model_Protocoldata()), expected);
}

void ModelProtocoldataTest::copiesAreIndependent()
{
    const model_Protocoldata original;
    model_Protocoldata copy = original;
    copy.m_ipAddress1[0] = QLatin1Char('2');
    copy.m_protoText.append(QLatin1String("text"));
    copy.m_protoData.append('\x01');
    copy.m_protoWord1 = 0;
    QCOMPARE(fields(original), fields(model_Protocoldata()));
    QCOMPARE(copy.m_ipAddress1, QStringLiteral("200.100.100.100"));
}

void ModelProtocoldataTest::layout_data()
{
    using P = model_Protocoldata;
    // clang-format off
    const LayoutMember<P> members[] = {
        LAYOUT_MEMBER(P, m_ipAddress1, Handle), LAYOUT_MEMBER(P, m_protoByte1, 1),
        LAYOUT_MEMBER(P, m_ipAddress2, Handle), LAYOUT_MEMBER(P, m_protoByte2, 1),
        LAYOUT_MEMBER(P, m_protoWord1, 2), LAYOUT_MEMBER(P, m_protoWord2, 2),
        LAYOUT_MEMBER(P, m_protoByte3, 1), LAYOUT_MEMBER(P, m_protoWord3, 2),
        LAYOUT_MEMBER(P, m_protoWord4, 2), LAYOUT_MEMBER(P, m_protoWord5, 2),
        LAYOUT_MEMBER(P, m_protoByte4, 1), LAYOUT_MEMBER(P, m_protoByte5, 1),
        LAYOUT_MEMBER(P, m_protoByte6, 1), LAYOUT_MEMBER(P, m_protoByte7, 1),
        LAYOUT_MEMBER(P, m_protoByte8, 1), LAYOUT_MEMBER(P, m_protoByte9, 1),
        LAYOUT_MEMBER(P, m_protoByte10, 1), LAYOUT_MEMBER(P, m_protoNumber1, 4),
        LAYOUT_MEMBER(P, m_protoText, Handle), LAYOUT_MEMBER(P, m_protoData, Handle),
        LAYOUT_MEMBER(P, m_protoByte11, 1), LAYOUT_MEMBER(P, m_protoNumber2, 4),
    };
    // clang-format on
    addLayoutColumns();
    addLayoutRows("model_Protocoldata", members);
}

QTEST_GUILESS_MAIN(ModelProtocoldataTest)
#include "model_protocoldatatest.moc"
