// Runs the built modelinfo tool as a user would and checks what it prints.

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run modelinfo(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MODELINFO_PATH), arguments);
    if (!process.waitForFinished(60000))
        qFatal("modelinfo did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QJsonObject jsonOf(const QStringList &arguments)
{
    const Run run = modelinfo(arguments + QStringList{"--json"});
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    if (run.exitCode != 0 || error.error != QJsonParseError::NoError || !document.isObject())
        qFatal("modelinfo %s --json gave no JSON object", qPrintable(arguments.join(u' ')));
    return document.object();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject modelNamed(const QJsonObject &device, const QString &name)
{
    for (const QJsonValue &model : device.value("models").toArray()) {
        if (model["model"].toString() == name)
            return model.toObject();
    }
    return {};
}

} // namespace

class ModelInfoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void errors_data();
    void errors();
    void textOutput();
    void deviceJson_data();
    void deviceJson();
    void codes();
    void ports();
    void keyboard_data();
    void keyboard();
    void topologyRoundTrip();
};

void ModelInfoTest::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << QStringList{"0xZZ"} << "not a device code";
    QTest::newRow("too large") << QStringList{"0x1FFFFFFFF"} << "not a device code";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "unknown command";
    QTest::newRow("device without code") << QStringList{"device"} << "usage";
    QTest::newRow("unknown option") << QStringList{"--colour"} << "colour";
    QTest::newRow("two keyboard operations")
        << QStringList{"keyboard", "--test", "--grid"} << "choose one";
    QTest::newRow("keyboard option elsewhere") << QStringList{"ports", "--icons"} << "keyboard";
    QTest::newRow("missing topology file")
        << QStringList{"topology", "/nonexistent/topo.ini"} << "no topology file";
    QTest::newRow("missing json file")
        << QStringList{"topology", "/tmp/unused.ini", "--write", "/nonexistent/in.json"}
        << "cannot read";
}

void ModelInfoTest::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (const QStringList &args : {arguments, arguments + QStringList{"--json"}}) {
        const Run run = modelinfo(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.startsWith("modelinfo: "), run.err.constData());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }
}

void ModelInfoTest::textOutput()
{
    const Run run = modelinfo({"0x250300"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("Device code 0x250300 (2425600)\n"));
    QVERIFY(run.out.contains("processor (ModelCalyth): knows the code"));
    QVERIFY(run.out.contains("ic (ModelIC): does not know the code"));
    QVERIFY(run.out.contains("LayerCount                       384"));
    QVERIFY(modelinfo({}).out.startsWith("Device code 0x320000"));
    QCOMPARE(modelinfo({"codes"}).out.count('\n'), 1 + 58);
    QVERIFY(modelinfo({"ports"}).out.contains("  52  -             HDMI2.0 HDR\n"));
    QVERIFY(modelinfo({"--help"}).out.contains("topology FILE [--write JSONFILE]"));
    QCOMPARE(modelinfo({"--version"}).out, QByteArray("modelinfo 1.0.0\n"));
}

void ModelInfoTest::deviceJson_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("processor");
    QTest::addColumn<bool>("scene");
    QTest::addColumn<bool>("ic");
    QTest::addColumn<int>("processorOutputs");

    QTest::newRow("default") << QStringList{} << 0x320000 << true << true << false << 8;
    QTest::newRow("hex") << QStringList{"0x2D0000"} << 0x2D0000 << true << true << true << 80;
    QTest::newRow("decimal, device command")
        << QStringList{"device", "2425601"} << 0x250301 << true << true << false << 64;
    QTest::newRow("processor only")
        << QStringList{"0x2C0201"} << 0x2C0201 << true << false << false << 1;
    // Unknown codes keep the capacities of construction.
    QTest::newRow("negative") << QStringList{"-1"} << -1 << false << false << false << 8;
    QTest::newRow("sign bit in hex")
        << QStringList{"0xFFFFFFFF"} << -1 << false << false << false << 8;
}

void ModelInfoTest::deviceJson()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(bool, processor);
    QFETCH(bool, scene);
    QFETCH(bool, ic);
    QFETCH(int, processorOutputs);

    const QJsonObject device = jsonOf(arguments);
    QCOMPARE(device["code"].toInt(), code);
    const QJsonObject calyth = modelNamed(device, "processor");
    QCOMPARE(calyth["known"].toBool(), processor);
    QCOMPARE(modelNamed(device, "scene")["known"].toBool(), scene);
    QCOMPARE(modelNamed(device, "bankplayer")["known"].toBool(), scene);
    QCOMPARE(modelNamed(device, "ic")["known"].toBool(), ic);
    QCOMPARE(calyth["capacities"]["OutputCount"].toInt(), processorOutputs);
    // Container sizes are reported only for a code the model knows.
    QCOMPARE(calyth.contains("containers"), processor);
    if (processor) {
        QCOMPARE(calyth["containers"]["m_outputRecGList"].toInt(), processorOutputs + 1);
    }
}

void ModelInfoTest::codes()
{
    const QJsonArray codes = jsonOf({"codes"})["codes"].toArray();
    QCOMPARE(codes.size(), 58);
    int scene = 0;
    int ic = 0;
    int previous = INT_MIN;
    for (const QJsonValue &entry : codes) {
        QVERIFY(entry["processor"].toBool());
        QCOMPARE(entry["bankplayer"].toBool(), entry["scene"].toBool());
        scene += entry["scene"].toBool();
        ic += entry["ic"].toBool();
        QVERIFY(entry["code"].toInt() > previous);
        previous = entry["code"].toInt();
    }
    QCOMPARE(scene, 56);
    QCOMPARE(ic, 2);
}

void ModelInfoTest::ports()
{
    const QJsonArray ports = jsonOf({"ports"})["ports"].toArray();
    // Every code from 0 to 62 but 58 has a name in at least one column, and so has 242 to 255.
    QCOMPARE(ports.size(), 62 + 14);
    QCOMPARE(ports.first()["output"].toString(), "EMPTY");
    QCOMPARE(ports.last()["code"].toInt(), 255);
    QCOMPARE(ports.last()["input"].toString(), "H.264");
}

void ModelInfoTest::keyboard_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("firstPreset");
    QTest::addColumn<QString>("secondShortcut");
    QTest::newRow("defaults") << QString() << "PST"
                              << "TONE";
    QTest::newRow("test") << "--test"
                          << "P   1"
                          << "S   17";
    QTest::newRow("grid") << "--grid"
                          << "PST"
                          << "1X1";
    QTest::newRow("icons") << "--icons"
                           << "PST"
                           << "TONE";
}

void ModelInfoTest::keyboard()
{
    QFETCH(QString, option);
    QFETCH(QString, firstPreset);
    QFETCH(QString, secondShortcut);
    QStringList args{"keyboard"};
    if (!option.isEmpty())
        args << option;
    const QJsonObject tables = jsonOf(args)["tables"].toObject();
    QCOMPARE(tables.size(), 6);
    const QJsonValue preset = tables["presetKeys"][0][0];
    const QJsonValue shortcut = tables["shortcutKeys"][0][0];
    QCOMPARE(preset["firstString"].toString(), firstPreset);
    QCOMPARE(shortcut["secondString"].toString(), secondShortcut);
    QCOMPARE(tables["commonKeys"].toArray().size(), 6);
    QCOMPARE(tables["commonKeys"][0].toArray().size(), 100);
    QCOMPARE(preset["icon"].toInt(), option == QLatin1String("--icons") ? 37 : 10);
}

void ModelInfoTest::topologyRoundTrip()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("topology.ini");
    const QString json = dir.filePath("modules.json");
    const QString notArray = dir.filePath("object.json");
    writeFile(json, R"([{"name": "left", "slot": 3}, {"name": "right", "on": true}])");
    writeFile(notArray, R"({"name": "left"})");

    QCOMPARE(modelinfo({"topology", ini, "--write", json}).exitCode, 0);
    const QJsonArray modules = jsonOf({"topology", ini})["modules"].toArray();
    QCOMPARE(modules.size(), 2);
    QCOMPARE(modules[0]["slot"].toString(), "3");
    QCOMPARE(modules[1]["on"].toString(), "true");
    // Text output is the array itself, as indented JSON.
    QCOMPARE(QJsonDocument::fromJson(modelinfo({"topology", ini}).out).array(), modules);

    // A file that is not a JSON array is refused and the topology file stays as it was.
    const QByteArray before = readFile(ini);
    const Run refused = modelinfo({"topology", ini, "--write", notArray});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY(refused.err.contains("JSON array"));
    QCOMPARE(readFile(ini), before);
}

QTEST_GUILESS_MAIN(ModelInfoTest)
#include "modelinfotest.moc"
