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

QByteArray fileBytes(const QString &path, const QByteArray &write = {})
{
    QFile file(path);
    if (!write.isEmpty())
        return file.open(QIODevice::WriteOnly) && file.write(write) == write.size() ? write : "";
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ModelInfoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << QStringList{"0xZZ"} << "not a device code";
        QTest::newRow("too large") << QStringList{"0x1FFFFFFFF"} << "not a device code";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "unknown command";
        QTest::newRow("device without code") << QStringList{"device"} << "usage";
        QTest::newRow("unknown option") << QStringList{"--colour"} << "colour";
        QTest::newRow("two operations") << QStringList{"keyboard", "--test", "--grid"} << "choose";
        QTest::newRow("misplaced option") << QStringList{"ports", "--icons"} << "keyboard";
        QTest::newRow("no topology file")
            << QStringList{"topology", "/none/t.ini"} << "no topology";
        QTest::newRow("no json file")
            << QStringList{"topology", "/tmp/t.ini", "--write", "/none/in.json"} << "cannot read";
        QTest::newRow("empty code") << QStringList{""} << "'' is not a device code";
        QTest::newRow("empty device code")
            << QStringList{"device", ""} << "'' is not a device code";
        // Control characters in a path are escaped, so that the message stays one line.
        QTest::newRow("line break in a path")
            << QStringList{"topology", "/none/a\nb\x01.ini"} << "/none/a\\nb\\x01.ini";
        QTest::newRow("save without code") << QStringList{"save"} << "usage";
        QTest::newRow("save unknown model")
            << QStringList{"save", "0x250300", "--model", "mixer"} << "unknown model 'mixer'";
        QTest::newRow("model without save")
            << QStringList{"0x250300", "--model", "ic"} << "--model";
        QTest::newRow("model of keyboard")
            << QStringList{"save", "keyboard", "--model", "ic"} << "--model";
        QTest::newRow("check no file") << QStringList{"check", "/none/a.json"} << "cannot read";
        QTest::newRow("diff one file") << QStringList{"diff", "/none/a.json"} << "usage";
    }

    // One line on stderr, exit status 2, nothing on stdout, in text and JSON mode alike.
    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        for (const QStringList &args : {arguments, arguments + QStringList{"--json"}}) {
            const Run run = modelinfo(args);
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(run.err.count('\n'), 1);
            QVERIFY2(run.err.startsWith("modelinfo: ") && run.err.contains(message.toUtf8()),
                     run.err.constData());
        }
    }

    void textOutput()
    {
        const QByteArray device = modelinfo({"0x250300"}).out;
        QVERIFY(device.startsWith("Device code 0x250300 (2425600)\n"));
        QVERIFY(device.contains("processor (ModelCalyth): knows the code"));
        QVERIFY(device.contains("ic (ModelIC): does not know the code"));
        QVERIFY(device.contains("LayerCount                       384"));
        QVERIFY(modelinfo({}).out.startsWith("Device code 0x320000"));
        QCOMPARE(modelinfo({"codes"}).out.count('\n'), 1 + 58);
        QVERIFY(modelinfo({"ports"}).out.contains("  52  -             HDMI2.0 HDR\n"));
        QVERIFY(modelinfo({"keyboard", "--grid"})
                    .out.contains("\n  -/1X1        -/1X2        -/1X3        -/1X4\n"));
        QVERIFY(modelinfo({"--help"}).out.contains("topology FILE [--write JSONFILE]"));
        QCOMPARE(modelinfo({"--version"}).out, QByteArray("modelinfo 1.0.0\n"));
    }

    void deviceJson_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("knownBy"); // processor, scene, bank player, IC, or -
        QTest::addColumn<int>("outputs");
        QTest::newRow("default") << QStringList{} << 0x320000 << "psb-" << 8;
        QTest::newRow("hex") << QStringList{"0x2D0000"} << 0x2D0000 << "psbi" << 80;
        QTest::newRow("decimal") << QStringList{"device", "2425601"} << 0x250301 << "psb-" << 64;
        QTest::newRow("processor only") << QStringList{"0x2C0201"} << 0x2C0201 << "p---" << 1;
        // Unknown codes keep the capacities of construction.
        QTest::newRow("negative") << QStringList{"-1"} << -1 << "----" << 8;
        QTest::newRow("sign bit") << QStringList{"0xFFFFFFFF"} << -1 << "----" << 8;
    }

    void deviceJson()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, knownBy);
        QFETCH(int, outputs);
        const QJsonObject device = jsonOf(arguments);
        QCOMPARE(device["code"].toInt(), code);
        const QJsonArray models = device["models"].toArray();
        QString known;
        for (const QJsonValue &model : models)
            known += model["known"].toBool() ? model["model"].toString().at(0) : u'-';
        QCOMPARE(known, knownBy);
        const QJsonValue processor = models.first();
        QCOMPARE(processor["capacities"]["OutputCount"].toInt(), outputs);
        // Container sizes are reported only for a code the model knows.
        QCOMPARE(processor["containers"]["m_outputRecGList"].toInt(-1),
                 known.startsWith(u'p') ? outputs + 1 : -1);
    }

    void listsJson()
    {
        const QJsonArray codes = jsonOf({"codes"})["codes"].toArray();
        QCOMPARE(codes.size(), 58);
        int scene = 0, ic = 0, previous = INT_MIN;
        for (const QJsonValue &entry : codes) {
            QVERIFY(entry["processor"].toBool() && entry["code"].toInt() > previous);
            QCOMPARE(entry["bankplayer"].toBool(), entry["scene"].toBool());
            scene += entry["scene"].toBool();
            ic += entry["ic"].toBool();
            previous = entry["code"].toInt();
        }
        QCOMPARE(scene, 56);
        QCOMPARE(ic, 2);

        // Every code from 0 to 62 but 58 has a name in at least one column, and so has 242 to 255.
        const QJsonArray ports = jsonOf({"ports"})["ports"].toArray();
        QCOMPARE(ports.size(), 62 + 14);
        QCOMPARE(ports.last()["input"].toString(), "H.264");

        const QJsonObject tables = jsonOf({"keyboard", "--test"})["tables"].toObject();
        QCOMPARE(tables.size(), 6);
        QCOMPARE(tables["commonKeys"][5].toArray().size(), 100);
        QCOMPARE(tables["shortcutKeys"][0][0]["secondString"].toString(), "S   17");
        const QJsonValue icons = jsonOf({"keyboard", "--icons"})["tables"];
        QCOMPARE(icons["layerKeys"][4][15]["icon"].toInt(), 37);
    }

    // save, check and diff on files: a saved document checks, an edit shows as its path, a bad
    // value fails with its path.
    void stateDocuments()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("saved.json");
        const QString edited = dir.filePath("edited.json");
        const QString bad = dir.filePath("bad.json");
        const QString scene = dir.filePath("scene.json");
        const Run save = modelinfo({"save", "0x250300"});
        QCOMPARE(save.exitCode, 0);
        QCOMPARE(modelinfo({"save", "0x250300", "--model", "processor", "--json"}).out, save.out);
        // Declaration order: the device code comes before the owned vectors.
        QVERIFY(save.out.startsWith("{\n    \"class\": \"ModelCalyth\",\n    \"format\": 1,\n"
                                    "    \"m_deviceCode\": 2425600,\n"));
        fileBytes(saved, save.out);
        fileBytes(edited, QByteArray(save.out).replace("\"m_value4\": 0", "\"m_value4\": 5"));
        fileBytes(bad, QByteArray(save.out).replace("\"m_byte1\": 0", "\"m_byte1\": 300"));
        fileBytes(scene, modelinfo({"save", "0x250300", "--model", "scene"}).out);

        QCOMPARE(modelinfo({"check", saved}).out,
                 saved.toUtf8() + ": a valid ModelCalyth document, format 1\n");
        QCOMPARE(jsonOf({"check", scene})["class"].toString(), "ModelScene");
        const Run refused = modelinfo({"check", bad});
        QCOMPARE(refused.exitCode, 2);
        QCOMPARE(refused.err,
                 "modelinfo: " + bad.toUtf8()
                     + ": m_byte1: expected an integer from 0 to 255, found 300\n");

        QCOMPARE(modelinfo({"diff", saved, edited}).out, QByteArray("m_value4: 0 -> 5\n"));
        QCOMPARE(modelinfo({"diff", saved, saved}).out, QByteArray("no differences\n"));
        const QJsonArray differences = jsonOf({"diff", edited, saved})["differences"].toArray();
        QCOMPARE(differences.size(), 1);
        QCOMPARE(differences[0]["path"].toString(), "m_value4");
        QCOMPARE(differences[0]["before"].toInt(), 5);
        QCOMPARE(modelinfo({"diff", saved, bad}).exitCode, 2);
        QVERIFY(modelinfo({"diff", saved, scene}).err.contains("compare documents of one class"));

        const QByteArray keyboard = modelinfo({"save", "keyboard", "--grid"}).out;
        QVERIFY(keyboard.contains("\"class\": \"Model_QuorParam\""));
        QVERIFY(keyboard.contains("\"secondString\": \"1X1\\u0000"));
    }

    void topologyRoundTrip()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("topology.ini");
        const QString json = dir.filePath("modules.json");
        const QString notArray = dir.filePath("object.json");
        fileBytes(json, R"([{"name": "left", "slot": 3}, {"name": "right", "on": true}])");
        fileBytes(notArray, R"({"name": "left"})");

        QCOMPARE(modelinfo({"topology", ini, "--write", json}).exitCode, 0);
        const QJsonArray modules = jsonOf({"topology", ini})["modules"].toArray();
        QCOMPARE(modules.size(), 2);
        QCOMPARE(modules[0]["slot"].toString(), "3");
        QCOMPARE(modules[1]["on"].toString(), "true");
        // Text output is the array itself, as indented JSON.
        QCOMPARE(QJsonDocument::fromJson(modelinfo({"topology", ini}).out).array(), modules);

        // A file that is not a JSON array is refused and the topology file stays as it was.
        const QByteArray before = fileBytes(ini);
        const Run refused = modelinfo({"topology", ini, "--write", notArray});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY(refused.err.contains("JSON array"));
        QCOMPARE(fileBytes(ini), before);
    }

    // The store reports no failure; the tool checks that the file holds the array afterwards.
    void topologyWriteFailures_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("kernel file") << "/proc/version"
                                     << "could not store the modules";
        QTest::newRow("pipe") << "pipe"
                              << "is not a regular file";
        QTest::newRow("directory") << "."
                                   << "is a directory";
    }

    void topologyWriteFailures()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString json = dir.filePath("modules.json");
        fileBytes(json, R"([{"name": "left"}])");
        if (target == "pipe")
            QCOMPARE(QProcess::execute("mkfifo", {dir.filePath(target)}), 0);
        const Run run = modelinfo({"topology", QDir(dir.path()).filePath(target), "--write", json});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(ModelInfoTest)
#include "modelinfotest.moc"
