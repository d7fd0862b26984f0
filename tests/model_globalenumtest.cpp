#include <model/ports/model_globalenum.h>

#include <QtTest/QtTest>

enum Direction { Output, Input };

// The names of runs of consecutive codes, '|' between two codes; codes outside the runs have no
// name. Written out apart from the model's table, so a shifted, missing or misspelt name shows.
struct NameRun
{
    Direction direction;
    int firstCode;
    const char *names;
};

// clang-format off
static const NameRun s_runs[] = {
    // direction, first code, names
    {Output, 0,   "EMPTY|DVI|DVI|HDMI|HDMI(Layer)|VGA|SDI|D-SDI|H.264|HDBaseT|LQ6|12G-SDI|HDMI|DP|"
                  "SDI|DVI(4/1)|HDBaseT|H.264|HDMI 2.0|PVW|Tavrix|HDMI 2.0|12G-SDI|DP1.2|FIBER|DVI|"
                  "SDI|DVI|HDMI|HDMI 2.0|FIBER|Tavrix|DVI|HDMI|SDI|HDMI 2.0|PVW|HDBaseT"},
    {Output, 244, "DP 1.2|PVW|DVI-PVW|AUDIO-OUT|DVI|DVI-BK|HDMI|HDMI-BK|HDMI 1.4|HDMI 2.0|3G-SDI|"
                  "HDBaseT"},
    // Input codes 20 and 58 have empty names inside the run.
    {Input,  0,   "EMPTY|DVI|HDMI|SDI|DP|VGA|YpbPr|CVBS|SV|(Double)DVI|USB|HDMI|SDI|HDMI|D-SDI|HDMI|"
                  "DVI|HDMI 1.4|DP 1.2|H.264||DUAL DVI|HDMI 1.4|DP 1.2|HDMI 2.0|12G-SDI|HDMI_X|DP|"
                  "SDI_X|DVI|DVI(4/1)|(Double)USB|HDBaseT|D-HDMI|HDMI 2.0|DP1.2|CVBS|VGA|HDMI(LOOP)|"
                  "HDMI(X86)|FIBER|Type-C|HDMI(BP)|DVI(BP)|HDMI 2.0|HDMI|VGA|DVI|SDI|BNC|H265|"
                  "HDMI_4K|HDMI2.0 HDR|HDMI 2.0|D-DVI|DVI|12G-SDI|HDMI||SDI|HDMI 2.0|DP 1.2|HDMI 2.1"},
    {Input,  242, "DP 1.1|CVBS|3G-SDI|AUDIO-OUT|DVI|DVI-M|HDMI|HDMI-AUDIO|HDMI 1.4|HDMI 2.0|DP 1.2|"
                  "3G-SDI|HDBaseT|H.264"},
};
// clang-format on

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
    QTest::addColumn<QStringList>("names"); // output, input

    const QStringList none{QString(), QString()};
    QVector<QStringList> names(256, none);
    for (const NameRun &run : s_runs) {
        const QStringList runNames = QString::fromLatin1(run.names).split(QLatin1Char('|'));
        for (int i = 0; i < runNames.size(); ++i)
            names[run.firstCode + i][run.direction] = runNames.at(i);
    }
    // -1 and 256 stand for every code outside 0 to 255, negative codes included.
    for (int code = -1; code <= 256; ++code)
        QTest::addRow("code %d", code) << code << names.value(code, none);
}

// A code without a name gives an empty string, never a null one.
void Model_GlobalEnumTest::names()
{
    QFETCH(int, code);
    QFETCH(QStringList, names);

    const QStringList found{model_GlobalEnum::getOutputPortNameByType(code),
                            model_GlobalEnum::getInputPortNameByType(code)};
    QCOMPARE(found, names);
    QVERIFY(!found.at(Output).isNull() && !found.at(Input).isNull());
}

QTEST_GUILESS_MAIN(Model_GlobalEnumTest)
#include "model_globalenumtest.moc"
