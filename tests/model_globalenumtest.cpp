#include <model/ports/model_globalenum.h>

#include <QtTest/QtTest>

#include <climits>

// The names as runs of consecutive codes, so a shifted or missing row in the model's table shows.
struct NameRun
{
    int firstCode;
    QStringList names;
};

static const NameRun s_outputRuns[] = {
    {0, {"EMPTY",    "DVI",      "DVI",     "HDMI",   "HDMI(Layer)", "VGA",  "SDI",
         "D-SDI",    "H.264",    "HDBaseT", "LQ6",    "12G-SDI",     "HDMI", "DP",
         "SDI",      "DVI(4/1)", "HDBaseT", "H.264",  "HDMI 2.0",    "PVW",  "Tavrix",
         "HDMI 2.0", "12G-SDI",  "DP1.2",   "FIBER",  "DVI",         "SDI",  "DVI",
         "HDMI",     "HDMI 2.0", "FIBER",   "Tavrix", "DVI",         "HDMI", "SDI",
         "HDMI 2.0", "PVW",      "HDBaseT"}},
    {244,
     {"DP 1.2", "PVW", "DVI-PVW", "AUDIO-OUT", "DVI", "DVI-BK", "HDMI", "HDMI-BK", "HDMI 1.4",
      "HDMI 2.0", "3G-SDI", "HDBaseT"}},
};

static const NameRun s_inputRuns[] = {
    {0, {"EMPTY",    "DVI",         "HDMI",        "SDI",        "DP",
         "VGA",      "YpbPr",       "CVBS",        "SV",         "(Double)DVI",
         "USB",      "HDMI",        "SDI",         "HDMI",       "D-SDI",
         "HDMI",     "DVI",         "HDMI 1.4",    "DP 1.2",     "H.264",
         "",         "DUAL DVI",    "HDMI 1.4",    "DP 1.2",     "HDMI 2.0",
         "12G-SDI",  "HDMI_X",      "DP",          "SDI_X",      "DVI",
         "DVI(4/1)", "(Double)USB", "HDBaseT",     "D-HDMI",     "HDMI 2.0",
         "DP1.2",    "CVBS",        "VGA",         "HDMI(LOOP)", "HDMI(X86)",
         "FIBER",    "Type-C",      "HDMI(BP)",    "DVI(BP)",    "HDMI 2.0",
         "HDMI",     "VGA",         "DVI",         "SDI",        "BNC",
         "H265",     "HDMI_4K",     "HDMI2.0 HDR", "HDMI 2.0",   "D-DVI",
         "DVI",      "12G-SDI",     "HDMI",        "",           "SDI",
         "HDMI 2.0", "DP 1.2",      "HDMI 2.1"}},
    {242,
     {"DP 1.1", "CVBS", "3G-SDI", "AUDIO-OUT", "DVI", "DVI-M", "HDMI", "HDMI-AUDIO", "HDMI 1.4",
      "HDMI 2.0", "DP 1.2", "3G-SDI", "HDBaseT", "H.264"}},
};

template<std::size_t N>
static QString expectedName(const NameRun (&runs)[N], int code)
{
    for (const NameRun &run : runs) {
        if (code >= run.firstCode && code < run.firstCode + run.names.size())
            return run.names.at(code - run.firstCode);
    }
    return QString();
}

class Model_GlobalEnumTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void names_data();
    void names();
};

void Model_GlobalEnumTest::names_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("input");

    for (int code = 0; code <= 255; ++code) {
        QTest::addRow("code %d", code)
            << code << expectedName(s_outputRuns, code) << expectedName(s_inputRuns, code);
    }
    for (int code : {-1, 256, -256, 1000, INT_MIN, INT_MAX})
        QTest::addRow("out of range %d", code) << code << QString() << QString();
}

void Model_GlobalEnumTest::names()
{
    QFETCH(int, code);
    QFETCH(QString, output);
    QFETCH(QString, input);

    const QString outputName = model_GlobalEnum::getOutputPortNameByType(code);
    const QString inputName = model_GlobalEnum::getInputPortNameByType(code);
    QCOMPARE(outputName, output);
    QCOMPARE(inputName, input);
    QVERIFY(!outputName.isNull());
    QVERIFY(!inputName.isNull());
}

QTEST_GUILESS_MAIN(Model_GlobalEnumTest)
#include "model_globalenumtest.moc"
