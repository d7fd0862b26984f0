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
    const Run run = modelinfo(arguments + QStringList{QStringLiteral("--json")});
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    if (run.exitCode != 0 || error.error != QJsonParseError::NoError || !document.isObject())
        qFatal("modelinfo %s --json gave no JSON object", qPrintable(arguments.join(u' ')));
    return document.object();
}

QJsonObject modelNamed(const QJsonObject &device, const QString &name)
{
    for (const QJsonValue &model : device.value(QStringLiteral("models")).toArray()) {
        if (model[QStringLiteral("model")].toString() == name)
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
    void deviceText();
    void deviceJson_data();
    void deviceJson();
    void codes();
    void ports();
    void keyboard_data();
    void keyboard();
    void topologyRoundTrip();
    void helpAndVersion();
};

void ModelInfoTest::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << QStringList{QStringLiteral("0xZZ")} << "not a device code";
    QTest::newRow("too large") << QStringList{QStringLiteral("0x1FFFFFFFF")} << "not a device code";
    QTest::newRow("unknown command")
        << QStringList{QStringLiteral("frobnicate")} << "unknown command";
    QTest::newRow("device without code") << QStringList{QStringLiteral("device")} << "usage";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--colour")} << "colour";
    QTest::newRow("two keyboard operations")
        << QStringList{QStringLiteral("keyboard"), QStringLiteral("--test"),
                       QStringLiteral("--grid")}
        << "choose one";
    QTest::newRow("keyboard option elsewhere")
        << QStringList{QStringLiteral("ports"), QStringLiteral("--icons")} << "keyboard";
    QTest::newRow("missing topology file")
        << QStringList{QStringLiteral("topology"), QStringLiteral("/nonexistent/topo.ini")}
        << "no topology file";
    QTest::newRow("missing json file")
        << QStringList{QStringLiteral("topology"), QStringLiteral("/tmp/unused.ini"),
                       QStringLiteral("--write"), QStringLiteral("/nonexistent/in.json")}
        << "cannot read";
}

void ModelInfoTest::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (const QStringList &args : {arguments, arguments + QStringList{QStringLiteral("--json")}}) {
        const Run run = modelinfo(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.startsWith("modelinfo: "), run.err.constData());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }
}

void ModelInfoTest::deviceText()
{
    const Run run = modelinfo({QStringLiteral("0x250300")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("Device code 0x250300 (2425600)\n"));
    QVERIFY(run.out.contains("processor (ModelCalyth): knows the code"));
    QVERIFY(run.out.contains("ic (ModelIC): does not know the code"));
    QVERIFY(run.out.contains("LayerCount                       384"));

    // No argument means the code every model is constructed with.
    QVERIFY(modelinfo({}).out.startsWith("Device code 0x320000"));
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
    QTest::newRow("hex") << QStringList{QStringLiteral("0x2D0000")} << 0x2D0000 << true << true
                         << true << 80;
    QTest::newRow("decimal, device command")
        << QStringList{QStringLiteral("device"), QStringLiteral("2425601")} << 0x250301 << true
        << true << false << 64;
    QTest::newRow("processor only")
        << QStringList{QStringLiteral("0x2C0201")} << 0x2C0201 << true << false << false << 1;
    // Unknown codes keep the capacities of construction.
    QTest::newRow("negative") << QStringList{QStringLiteral("-1")} << -1 << false << false << false
                              << 8;
    QTest::newRow("sign bit in hex")
        << QStringList{QStringLiteral("0xFFFFFFFF")} << -1 << false << false << false << 8;
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
    QCOMPARE(device[QStringLiteral("code")].toInt(), code);
    const QJsonObject calyth = modelNamed(device, QStringLiteral("processor"));
    QCOMPARE(calyth[QStringLiteral("known")].toBool(), processor);
    QCOMPARE(modelNamed(device, QStringLiteral("scene"))[QStringLiteral("known")].toBool(), scene);
    QCOMPARE(modelNamed(device, QStringLiteral("bankplayer"))[QStringLiteral("known")].toBool(),
             scene);
    QCOMPARE(modelNamed(device, QStringLiteral("ic"))[QStringLiteral("known")].toBool(), ic);
    QCOMPARE(calyth[QStringLiteral("capacities")][QStringLiteral("OutputCount")].toInt(),
             processorOutputs);
    // Container sizes are reported only for a code the model knows.
    QCOMPARE(calyth.contains(QStringLiteral("containers")), processor);
    if (processor) {
        QCOMPARE(calyth[QStringLiteral("containers")][QStringLiteral("m_outputRecGList")].toInt(),
                 processorOutputs + 1);
    }
}

void ModelInfoTest::codes()
{
    const QJsonArray codes = jsonOf({QStringLiteral("codes")})[QStringLiteral("codes")].toArray();
    QCOMPARE(codes.size(), 58);
    int scene = 0;
    int ic = 0;
    int previous = INT_MIN;
    for (const QJsonValue &entry : codes) {
        QVERIFY(entry[QStringLiteral("processor")].toBool());
        QCOMPARE(entry[QStringLiteral("bankplayer")].toBool(),
                 entry[QStringLiteral("scene")].toBool());
        scene += entry[QStringLiteral("scene")].toBool();
        ic += entry[QStringLiteral("ic")].toBool();
        QVERIFY(entry[QStringLiteral("code")].toInt() > previous);
        previous = entry[QStringLiteral("code")].toInt();
    }
    QCOMPARE(scene, 56);
    QCOMPARE(ic, 2);

    const Run run = modelinfo({QStringLiteral("codes")});
    QCOMPARE(run.out.count('\n'), 1 + 58);
}

void ModelInfoTest::ports()
{
    const QJsonArray ports = jsonOf({QStringLiteral("ports")})[QStringLiteral("ports")].toArray();
    // Every code from 0 to 62 but 58 has a name in at least one column, and so has 242 to 255.
    QCOMPARE(ports.size(), 62 + 14);
    QCOMPARE(ports.first()[QStringLiteral("output")].toString(), QStringLiteral("EMPTY"));
    QCOMPARE(ports.last()[QStringLiteral("code")].toInt(), 255);
    QCOMPARE(ports.last()[QStringLiteral("input")].toString(), QStringLiteral("H.264"));
    QVERIFY(modelinfo({QStringLiteral("ports")}).out.contains("  52  -             HDMI2.0 HDR\n"));
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
    QStringList args{QStringLiteral("keyboard")};
    if (!option.isEmpty())
        args << option;
    const QJsonObject tables = jsonOf(args)[QStringLiteral("tables")].toObject();
    QCOMPARE(tables.size(), 6);
    const QJsonValue preset = tables[QStringLiteral("presetKeys")][0][0];
    const QJsonValue shortcut = tables[QStringLiteral("shortcutKeys")][0][0];
    QCOMPARE(preset[QStringLiteral("firstString")].toString(), firstPreset);
    QCOMPARE(shortcut[QStringLiteral("secondString")].toString(), secondShortcut);
    QCOMPARE(tables[QStringLiteral("commonKeys")].toArray().size(), 6);
    QCOMPARE(tables[QStringLiteral("commonKeys")][0].toArray().size(), 100);
    QCOMPARE(preset[QStringLiteral("icon")].toInt(), option == QLatin1String("--icons") ? 37 : 10);
}

void ModelInfoTest::topologyRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("topology.ini"));
    const QString json = dir.filePath(QStringLiteral("modules.json"));
    const QString notArray = dir.filePath(QStringLiteral("object.json"));
    {
        QFile file(json);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"([{"name": "left", "slot": 3}, {"name": "right", "on": true}])");
        QFile object(notArray);
        QVERIFY(object.open(QIODevice::WriteOnly));
        object.write(R"({"name": "left"})");
    }

    const Run write = modelinfo({QStringLiteral("topology"), ini, QStringLiteral("--write"), json});
    QCOMPARE(write.exitCode, 0);
    const QJsonArray modules
        = jsonOf({QStringLiteral("topology"), ini})[QStringLiteral("modules")].toArray();
    QCOMPARE(modules.size(), 2);
    QCOMPARE(modules[0][QStringLiteral("slot")].toString(), QStringLiteral("3"));
    QCOMPARE(modules[1][QStringLiteral("on")].toString(), QStringLiteral("true"));

    // Text output is the array itself, as indented JSON.
    const Run read = modelinfo({QStringLiteral("topology"), ini});
    QCOMPARE(QJsonDocument::fromJson(read.out).array(), modules);

    // A file that is not a JSON array is refused and the topology file stays as it was.
    const QByteArray before = [&] {
        QFile file(ini);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    const Run refused
        = modelinfo({QStringLiteral("topology"), ini, QStringLiteral("--write"), notArray});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY(refused.err.contains("JSON array"));
    QFile after(ini);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);
}

void ModelInfoTest::helpAndVersion()
{
    const Run help = modelinfo({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("topology FILE [--write JSONFILE]"));
    const Run version = modelinfo({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("modelinfo 1.0.0\n"));
}

QTEST_GUILESS_MAIN(ModelInfoTest)
#include "modelinfotest.moc"
