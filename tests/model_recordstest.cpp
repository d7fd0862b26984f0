#include <model/ports/model_globalenum.h>
#include <model/records/apienum.h>
#include <model/records/model_api_param.h>

#include <QtTest/QtTest>

#include <climits>

namespace {

QVariantList apiFields(const model_API_param &p)
{
    return {p.m_apiText1,   p.m_apiText2,   p.m_apiNumber1, p.m_apiNumber2, p.m_apiNumber3,
            p.m_apiNumber4, p.m_netText1,   p.m_netText2,   p.m_netText3,   p.m_apiNumber5,
            p.m_apiNumber6, p.m_apiNumber7, p.m_apiNumber8};
}

} // namespace

// The plain records and tables: what the records' operations reset, the device type enumeration
// and the port names. The defaults of every record, and the member order, are pinned by the
// fingerprints of the new records' documents in modelstatetest.
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

    void deviceType()
    {
        // Callers turn keys into values and back by name, through APIEnum's meta-object.
        const QMetaEnum me = QMetaEnum::fromType<APIEnum::DeviceTYPE>();
        QCOMPARE(me.enclosingMetaObject(), &APIEnum::staticMetaObject);
        QCOMPARE(me.name(), "DeviceTYPE");
        QVERIFY(!me.isFlag() && !me.isScoped());
        QCOMPARE(me.keyCount(), 2);
        QCOMPARE(QByteArray(me.valueToKey(0)) + ' ' + me.valueToKey(1),
                 "E_DeviceTYPE_KTR8 E_DeviceTYPE_vMix");
        QCOMPARE(me.keyToValue("E_DeviceTYPE_vMix"), 1);
        QVERIFY(!me.valueToKey(2));
    }

    // The ends of each run of named codes, the gaps inside them and the codes around them: a name
    // table shifted by one, or cut short, changes one of these.
    void names_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("input");
        // clang-format off
        const struct { int code; const char *output, *input; } rows[] = {
            // code     output      input                       code   output      input
            {INT_MIN,   "",         ""},                        {-1,   "",         ""},
            {0,         "EMPTY",    "EMPTY"},                   {2,    "DVI",      "HDMI"},
            {20,        "Tavrix",   ""},         // a gap inside the input run
            {37,        "HDBaseT",  "VGA"},      // last of the first output run
            {38,        "",         "HDMI(LOOP)"},              {58,   "",         ""},
            {62,        "",         "HDMI 2.1"}, // last of the first input run
            {63,        "",         ""},                        {241,  "",         ""},
            {242,       "",         "DP 1.1"},                  {244,  "DP 1.2",   "3G-SDI"},
            {255,       "HDBaseT",  "H.264"},                   {256,  "",         ""},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::addRow("code %d", row.code)
                << row.code << QString::fromLatin1(row.output) << QString::fromLatin1(row.input);
    }

    void names()
    {
        QFETCH(int, code);
        QFETCH(QString, output);
        QFETCH(QString, input);
        QCOMPARE(model_GlobalEnum::getOutputPortNameByType(code), output);
        QCOMPARE(model_GlobalEnum::getInputPortNameByType(code), input);
    }

    // Every code answers with a string, empty but never null where it has no name, and the
    // tables name as many codes as the devices have port types.
    void everyCode()
    {
        int named[2] = {0, 0};
        for (int code = -1; code <= 256; ++code) {
            const QString names[2] = {model_GlobalEnum::getOutputPortNameByType(code),
                                      model_GlobalEnum::getInputPortNameByType(code)};
            for (int direction : {0, 1}) {
                QVERIFY(!names[direction].isNull());
                named[direction] += !names[direction].isEmpty();
            }
        }
        QCOMPARE(QVector<int>(named, named + 2), (QVector<int>{50, 75}));
    }
};

QTEST_GUILESS_MAIN(ModelRecordsTest)
#include "model_recordstest.moc"
