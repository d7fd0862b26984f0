#include <model/ports/model_globalenum.h>

#include <QtTest/QtTest>

#include <climits>

class Model_GlobalEnumTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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

QTEST_GUILESS_MAIN(Model_GlobalEnumTest)
#include "model_globalenumtest.moc"
