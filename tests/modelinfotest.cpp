// Runs the built modelinfo tool as a user would and checks what it prints.

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QProcess>
#include <QtCore/QRegularExpression>
#include <QtCore/QSet>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray Name = MODELINFO_NAME; // modelinfo or modelinfo-qt6

// program run with arguments; standard input from a file if given, and extra environment
// variables (NAME=value).
Run execute(const QString &program, const QStringList &arguments, const QString &input = {},
            const QStringList &environment = {})
{
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : environment)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("modelinfo did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

Run modelinfo(const QStringList &arguments, const QString &input = {},
              const QStringList &environment = {})
{
    return execute(QStringLiteral(MODELINFO_PATH), arguments, input, environment);
}

// A shell command line with the tool as $0, for what QProcess cannot do: close standard output,
// or pass bytes that are not text.
Run shell(const QString &script, const QStringList &arguments = {})
{
    return execute(QStringLiteral("/bin/sh"), QStringList{"-c", script, MODELINFO_PATH} + arguments,
                   {}, {"LC_ALL=C.UTF-8"});
}

QJsonObject jsonOf(const QStringList &arguments, int exitCode = 0)
{
    const Run run = modelinfo(arguments + QStringList{"--json"});
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    if (run.exitCode != exitCode || error.error != QJsonParseError::NoError || !document.isObject())
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
        QTest::newRow("diff one file") << QStringList{"diff", "/none/a.json"} << "usage";
        QTest::newRow("model twice") << QStringList{"save", "0", "--model", "ic", "--model", "ic"}
                                     << "--model given more than once";
        QTest::newRow("write twice")
            << QStringList{"topology", "t.ini", "--write", "a", "--write=b"} << "--write given";
        QTest::newRow("compact without a document")
            << QStringList{"codes", "--compact"} << "--compact goes with";
        QTest::newRow("limit without diff") << QStringList{"codes", "--max-differences", "3"}
                                            << "--max-differences goes with 'diff'";
        QTest::newRow("input limit not a size")
            << QStringList{"diff", "a", "b", "--input-limit", "lots"} << "--input-limit takes";
        QTest::newRow("file over the input limit")
            << QStringList{"restore", MODELINFO_PATH, "--input-limit", "1K"}
            << "more than the input limit of 1024 bytes";
        QTest::newRow("device that never ends")
            << QStringList{"diff", "/dev/zero", "/dev/zero"} << "neither a regular file nor a pipe";
        QTest::newRow("directory") << QStringList{"patch", "/", "/"} << "is a directory";
        QTest::newRow("standard input twice") << QStringList{"diff", "-", "-"} << "only one";
        QTest::newRow("topology on standard input")
            << QStringList{"topology", "-"} << "must be named";
        QTest::newRow("patch one file")
            << QStringList{"patch", "a"} << QString::fromUtf8("usage: " + Name + " patch");
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
            QVERIFY2(run.err.startsWith(Name + ": ") && run.err.contains(message.toUtf8()),
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
        QCOMPARE(modelinfo({"--version"}).out, Name + " 1.0.0\n");
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
                 Name + ": " + bad.toUtf8()
                     + ": m_byte1: expected an integer from 0 to 255, found 300\n");

        QCOMPARE(modelinfo({"diff", saved, edited}).out, QByteArray("m_value4: 0 -> 5\n"));
        QCOMPARE(modelinfo({"diff", saved, saved}).out, QByteArray("no differences\n"));
        const QJsonArray differences = jsonOf({"diff", edited, saved}, 1)["differences"].toArray();
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

    // What check says of a file, as text on standard error and as the JSON verdict.
    void checkVerdicts_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("path");    // of the problem in the document; "-" if valid
        QTest::addColumn<QString>("message"); // of the problem, whole
        const QByteArray saved = modelinfo({"save", "0x2C0200"}).out;
        QTest::newRow("valid") << saved << "-"
                               << "";
        QTest::newRow("null") << QByteArray("null") << ""
                              << "FILE holds null, not an object";
        QTest::newRow("string") << QByteArray("\"x\"") << ""
                                << "FILE holds a string, not an object";
        QTest::newRow("empty") << QByteArray(" \n") << ""
                               << "FILE is empty";
        QTest::newRow("not JSON") << QByteArray("{\"a\": }") << ""
                                  << "FILE is not valid JSON: ";
        QTest::newRow("number as written")
            << QByteArray(saved).replace("\"m_deviceCode\": 2884096",
                                         "\"m_deviceCode\": 9007199254740993")
            << "m_deviceCode"
            << "expected an integer from -2147483648 to 2147483647, found 9007199254740993";
        // A NUL cuts nothing short: it is escaped in the one line of the message.
        QTest::newRow("NUL in the class")
            << QByteArray(saved).replace("\"ModelCalyth\"", "\"Model\\u0000Calyth\"") << "class"
            << "unknown class \"Model\\x00Calyth\"";
        QTest::newRow("NUL in a key")
            << QByteArray(saved).replace("\"format\": 1,", "\"format\": 1, \"x\\u0000y\": 0,")
            << "[\"x\\u0000y\"]"
            << "unknown member";
    }
    void checkVerdicts()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath("doc.json");
        QCOMPARE(fileBytes(file, content), content);
        message.replace("FILE", file);
        const bool valid = path == "-";
        const Run text = modelinfo({"check", file});
        QCOMPARE(text.exitCode, valid ? 0 : 2);
        if (!valid) {
            const QByteArray whole = path.isEmpty()
                ? message.toUtf8()
                : (file + ": " + path + ": " + message).toUtf8();
            QVERIFY2(text.err.startsWith(Name + ": ") && text.err.contains(whole),
                     text.err.constData());
            QCOMPARE(text.err.count('\n'), 1);
        }
        // The same from standard input.
        QCOMPARE(modelinfo({"check", "-"}, file).exitCode, valid ? 0 : 2);

        const QJsonObject verdict = jsonOf({"check", file}, valid ? 0 : 2);
        QCOMPARE(verdict["valid"].toBool(), valid);
        QCOMPARE(verdict["file"].toString(), file);
        if (!valid) {
            QCOMPARE(verdict["path"].toString(), path);
            QVERIFY2(
                verdict["message"].toString().contains(QString(message).replace("\\x00", QChar(0))),
                qPrintable(verdict["message"].toString()));
        }
    }

    // diff tells equal from different by its exit status; patch puts what diff --json printed
    // into the earlier document, from a file or standard input, and refuses what does not fit.
    void diffAndPatch()
    {
        QTemporaryDir dir;
        const auto file = [&dir](const QString &name, const QByteArray &bytes) {
            fileBytes(dir.filePath(name), bytes);
            return dir.filePath(name);
        };
        const QByteArray saved = modelinfo({"save", "0x250300"}).out;
        const QString before = file("before\nline.json", saved);
        const QString after = file("after.json",
                                   QByteArray(saved)
                                       .replace("\"m_value4\": 0", "\"m_value4\": 5")
                                       .replace("\"m_byte1\": 0", "\"m_byte1\": 7"));
        const QString other
            = file("other.json", modelinfo({"save", "0x2D0000", "--model", "ic"}).out);

        QCOMPARE(modelinfo({"diff", before, before}).exitCode, 0);
        const Run two = modelinfo({"diff", before, after, "--json"});
        QCOMPARE(two.exitCode, 1);
        const QString changes = file("changes.json", two.out);
        QCOMPARE(modelinfo({"patch", before, changes}).out, fileBytes(after));
        QCOMPARE(modelinfo({"patch", "-", changes}, before).out, fileBytes(after));
        const Run compact = modelinfo({"patch", before, changes, "--compact"});
        QCOMPARE(compact.out.count('\n'), 1);
        QVERIFY(QJsonDocument::fromJson(compact.out) == QJsonDocument::fromJson(fileBytes(after)));
        // A path with a line break stays on one line in what the tool prints.
        QCOMPARE(modelinfo({"check", before}).out,
                 QString(before).replace('\n', "\\n").toUtf8()
                     + ": a valid ModelCalyth document, format 1\n");

        // A limit lists the first differences and counts the rest; patch will not take a part.
        const Run first = modelinfo({"diff", before, after, "--max-differences", "1"});
        QCOMPARE(first.exitCode, 1);
        QVERIFY2(
            first.out.endsWith("... and 1 more differences (2 in all; see --max-differences)\n"),
            first.out.constData());
        const QString part = file(
            "part.json", modelinfo({"diff", before, after, "--json", "--max-differences=1"}).out);
        QVERIFY(modelinfo({"patch", before, part}).err.contains("1 more were left out"));
        const Run misfit = modelinfo({"patch", after, changes});
        QCOMPARE(misfit.exitCode, 2);
        QVERIFY2(misfit.err.contains("does not fit")
                     && misfit.err.contains("m_byte1: expected 0, found 7"),
                 misfit.err.constData());
        QVERIFY(modelinfo({"patch", other, changes})
                    .err.contains("compares ModelCalyth documents, not ModelIC"));
        QVERIFY(modelinfo({"patch", before, before}).err.contains("does not hold the differences"));
    }

    // restore shows the object a document restores as the tool shows such objects; every class
    // can be saved.
    void restoreViews_data()
    {
        QTest::addColumn<QStringList>("save");
        QTest::addColumn<QString>("shows");
        QTest::newRow("processor") << QStringList{"save", "0x250300"}
                                   << "ModelCalyth from FILE: device code 0x250300 (2425600), "
                                      "known to the processor model\n  capacities:\n";
        QTest::newRow("scene") << QStringList{"save", "0x250301", "--model", "scene"}
                               << "    m_pBankVec[0].pLayerVec          768\n";
        QTest::newRow("bank player")
            << QStringList{"save", "0x250301", "--model=bankplayer"} << "BankCount";
        QTest::newRow("IC, unknown code")
            << QStringList{"save", "7", "--model", "ic"} << "(7), unknown to the ic model";
        QTest::newRow("keyboard") << QStringList{"save", "keyboard", "--grid"}
                                  << "\n  -/1X1        -/1X2        -/1X3        -/1X4\n";
        QTest::newRow("api") << QStringList{"save", "api"} << "\"class\": \"model_API_param\"";
        QTest::newRow("protocol") << QStringList{"save", "protocol", "--compact"}
                                  << "model_Protocoldata from FILE:\n{\n    \"class\"";
        QTest::newRow("osd") << QStringList{"save", "osd"} << "\"m_osdByte1\"";
        QTest::newRow("topology") << QStringList{"save", "topology"}
                                  << "\"m_slotValuesA\": [-1, -1";
    }
    void restoreViews()
    {
        QFETCH(QStringList, save);
        QFETCH(QString, shows);
        QTemporaryDir dir;
        const QString file = dir.filePath("saved.json");
        const Run saved = modelinfo(save);
        QCOMPARE(saved.exitCode, 0);
        fileBytes(file, saved.out);
        const Run restored = modelinfo({"restore", file});
        QCOMPARE(restored.exitCode, 0);
        QVERIFY2(restored.out.contains(shows.replace("FILE", file).toUtf8()),
                 restored.out.constData());
        const QJsonObject json = jsonOf({"restore", file});
        QCOMPARE(json["file"].toString(), file);
        QCOMPARE(json["class"], QJsonDocument::fromJson(saved.out)["class"]);
    }

    // Output that does not reach its file is an error, whatever the command.
    void unwritableOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("codes") << QStringList{"codes"};
        QTest::newRow("save") << QStringList{"save", "0x250301", "--model", "scene"};
        QTest::newRow("diff") << QStringList{"diff", "DOC", "DOC"};
        QTest::newRow("check --json") << QStringList{"check", "--json", "/none"};
        QTest::newRow("help") << QStringList{"--help"};
        QTest::newRow("version") << QStringList{"--version"};
    }
    void unwritableOutput()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        fileBytes(dir.filePath("doc.json"), modelinfo({"save", "0"}).out);
        arguments.replaceInStrings("DOC", dir.filePath("doc.json"));
        for (const QString &redirect : {QStringLiteral(">/dev/full"), QStringLiteral(">&-")}) {
            const Run run = shell(QStringLiteral("exec \"$0\" \"$@\" ") + redirect, arguments);
            QCOMPARE(run.exitCode, 2);
            QVERIFY2(run.err.startsWith(Name + ": cannot write the output: "), run.err.constData());
        }
    }

    // An argument whose bytes do not survive the locale's decoding would name another file: it
    // is refused, and no file is read or written.
    void undecodableArguments_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("argument");
        // $bad holds the bytes ff fe.
        QTest::newRow("topology file") << "exec \"$0\" topology \"t$bad.ini\" --write ok.json"
                                       << "argument 2 ('t\\xff\\xfe.ini')";
        QTest::newRow("JSON file") << "exec \"$0\" topology t.ini --write \"$bad.json\""
                                   << "argument 4 ('\\xff\\xfe.json')";
        QTest::newRow("option with its value") << "exec \"$0\" topology t.ini \"--write=a$bad\""
                                               << "argument 3 ('--write=a\\xff\\xfe')";
        QTest::newRow("document") << "exec \"$0\" check \"$bad\""
                                  << "argument 2 ('\\xff\\xfe')";
    }
    void undecodableArguments()
    {
        QFETCH(QString, script);
        QFETCH(QString, argument);
        QTemporaryDir dir;
        fileBytes(dir.filePath("ok.json"), "[{\"name\": \"left\"}]");
        const Run run = shell(
            QStringLiteral("cd \"$1\" && bad=$(printf '\\377\\376') && ") + script, {dir.path()});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.startsWith(Name + ": " + argument.toUtf8() + " is not text"),
                 run.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ok.json"});
    }

    // --write says how many modules it stored: elements that are not objects with members store
    // nothing. No temporary folder is needed.
    void topologyStoredCounts_data()
    {
        QTest::addColumn<QByteArray>("modules");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("written");
        QTest::newRow("all") << QByteArray(R"([{"a": 1}, {"b": "x"}])")
                             << "Stored 2 modules in FILE" << 2;
        QTest::newRow("none is an object")
            << QByteArray("[1, 2, 3]") << "Stored nothing in FILE: none of the 3 elements" << 0;
        QTest::newRow("empty") << QByteArray("[]") << "Stored nothing in FILE: the array is empty"
                               << 0;
        QTest::newRow("some") << QByteArray(R"([{"a": 1}, {}, "x"])")
                              << "Stored 1 of 3 elements in FILE" << 1;
    }
    void topologyStoredCounts()
    {
        QFETCH(QByteArray, modules);
        QFETCH(QString, says);
        QFETCH(int, written);
        QTemporaryDir dir;
        const QString ini = dir.filePath("t.ini");
        const QString json = dir.filePath("m.json");
        fileBytes(ini, "[0]\nold=1\n");
        fileBytes(json, modules);
        const QStringList noTemp{"TMPDIR=/none"};
        const Run run = modelinfo({"topology", ini, "--write", json}, {}, noTemp);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(says.replace("FILE", ini).toUtf8()), run.out.constData());
        QCOMPARE(
            modelinfo({"topology", ini, "--write", "-", "--json"}, json, noTemp).out,
            QJsonDocument(QJsonObject{{"file", ini},
                                      {"elements", QJsonDocument::fromJson(modules).array().size()},
                                      {"written", written}})
                .toJson());
        // An array that stores nothing leaves no file, or an empty one.
        QCOMPARE(QFile::exists(ini) ? jsonOf({"topology", ini})["modules"].toArray().size() : 0,
                 written);
    }

    // The manual page documents every command and option of --help, and no other.
    void manualPage()
    {
        const QString help = QString::fromUtf8(modelinfo({"--help"}).out);
        QFile file(QStringLiteral(MODELINFO_PAGE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        QVERIFY(page.startsWith(".TH " + QString::fromUtf8(Name).toUpper() + " 1 "));

        const auto section = [](const QString &text, const QString &start, const QString &end) {
            const qsizetype from = text.indexOf(start);
            return from < 0 ? QString() : text.mid(from, text.indexOf(end, from) - from);
        };
        const auto matches = [](const QString &text, const char *pattern) {
            QSet<QString> found;
            const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
            for (auto it = re.globalMatch(text); it.hasNext();)
                found << it.next().captured(1).replace("\\-", "-");
            return found;
        };
        const QSet<QString> commands
            = matches(section(help, "Commands:", "\n\n"), R"(^  (?:\[CODE\], )?([a-z]+))");
        const QSet<QString> options = matches(section(help, "Options:", "\n\n"), R"(--([a-z-]+))");
        QCOMPARE(commands.size(), 10);
        QVERIFY(options.contains("input-limit"));
        // A command is the first name of an item head in COMMANDS; options are named in OPTIONS.
        QCOMPARE(matches(section(page, ".SH COMMANDS", ".SH OPTIONS"),
                         R"(^\.TP\n\.[BIR]+ .*?\b([a-z]+)\b)"),
                 commands);
        QCOMPARE(matches(section(page, ".SH OPTIONS", ".SH EXIT"), R"(\\-\\-([a-z\\-]+))"),
                 options);
        // Every option and command named anywhere in the page is one of --help.
        QVERIFY((matches(page, R"(\\-\\-([a-z\\-]+))") - options).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ModelInfoTest)
#include "modelinfotest.moc"
