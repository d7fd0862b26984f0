// Runs the built modelinfo tool as a user would and checks what it prints.

#include <QtTest/QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out, err;
};

const QByteArray Name = MODELINFO_NAME; // modelinfo or modelinfo-qt6

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
    // The documents that the command rows below name as D/...: saved by the tool itself, some
    // edited by hand.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const auto write = [this](const char *name, const QByteArray &bytes) {
            QVERIFY(!bytes.isEmpty() && fileBytes(m_dir.filePath(name), bytes) == bytes);
        };
        // clang-format off
        for (const auto &[name, command] : {
                 std::pair("saved.json", "save 0x250300"), {"api.json", "save api"},
                 {"scene.json", "save 0x629066 --model scene"}, {"ic.json", "save 7 --model ic"},
                 {"bankplayer.json", "save 0x250301 --model=bankplayer"}, {"osd.json", "save osd"},
                 {"keyboard.json", "save keyboard --grid"}, {"topology.json", "save topology"},
                 {"protocol.json", "save protocol --compact"}})
            write(name, modelinfo(command).out);
        // A document made from another one by replacing text.
        for (const auto &[name, from, before, after] : {
                 std::tuple("before\nline.json", "saved.json", "", ""),
                 {"edited.json", "saved.json", "\"m_value4\": 0", "\"m_value4\": 5"},
                 {"after.json", "edited.json", "\"m_byte1\": 0", "\"m_byte1\": 7"},
                 {"bad.json", "saved.json", "\"m_byte1\": 0", "\"m_byte1\": 300"},
                 {"number.json", "saved.json", " 2425600,", " 9007199254740993,"},
                 {"nulclass.json", "saved.json", "\"ModelCalyth\"", "\"Model\\u0000Calyth\""},
                 {"nulkey.json", "saved.json", "\"format\": 1", "\"format\": 1, \"x\\u0000y\": 0"}})
            write(name, fileBytes(m_dir.filePath(from)).replace(before, after));
        for (const auto &[name, bytes] : {std::pair("modules.json", R"([{"name": "left"}])"),
                 {"null.json", "null"}, {"string.json", "\"x\""}, {"blank.json", " \n"},
                 {"broken.json", "{\"a\": }"}})
            write(name, bytes);
        // clang-format on
        // Pointers of a restored model may be null.
        auto nulls = QJsonDocument::fromJson(fileBytes(m_dir.filePath("scene.json"))).object();
        QJsonArray banks = nulls["m_pBankVec"].toArray();
        QJsonObject bank = banks[0].toObject();
        bank["pLayerVec"] = QJsonValue();
        banks[0] = bank;
        nulls["m_pBankVec"] = banks;
        nulls["m_pBankOutputVec"] = QJsonValue();
        write("nulls.json", QJsonDocument(nulls).toJson());
        write("changes.json", modelinfo("diff D/saved.json D/after.json --json").out);
        write("part.json",
              modelinfo("diff D/saved.json D/after.json --json --max-differences=1").out);
        QCOMPARE(QProcess::execute("mkfifo", {m_dir.filePath("pipe")}), 0);
    }

    // One command line a row as the shell reads it: its exit status and fragments of what it
    // prints. D/ stands for the documents' folder, NAME for the tool's name, $bad for the bytes
    // ff fe, which no UTF-8 text holds. A row without output fragments fails with one line on
    // standard error and nothing on standard output. No row leaves a file in its working folder.
    void commands_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QString>("err");
        const auto row
            = [](const char *line, int exitCode, const QStringList &out, const char *err = "") {
                  QTest::newRow(QByteArray(line).replace('\n', "\\n"))
                      << QString(line) << exitCode << out << QString(err);
              };
        const auto fail = [&row](const char *line, const char *err) { row(line, 2, {}, err); };
        // clang-format off
        // Usage errors; a failure prints no JSON verdict with --json either.
        fail("''", "'' is not a device code"); fail("device ''", "'' is not a device code");
        fail("0x1FFFFFFFF", "'0x1FFFFFFFF' is not a device code");
        fail("frobnicate", "unknown command 'frobnicate'"); fail("device", "usage: NAME device");
        fail("--colour", "colour"); fail("keyboard --test --grid", "choose");
        fail("ports --icons", "go with 'keyboard'"); fail("topology /none/t --json", "no topology");
        fail("topology /tmp/t.ini --write /none/in.json", "cannot read");
        // Control characters in a path are escaped, so that the message stays one line.
        fail("topology '/none/a\nb\x01.ini'", "/none/a\\nb\\x01.ini");
        fail("save", "usage"); fail("save 0x250300 --model mixer", "unknown model 'mixer'");
        fail("0x250300 --model ic", "--model goes"); fail("save keyboard --model ic", "--model go");
        fail("diff /none/a.json", "usage: NAME diff"); fail("patch a", "usage: NAME patch");
        fail("save 0 --model ic --model ic", "--model given more than once");
        fail("codes --compact", "--compact goes with");
        fail("codes --max-differences 3", "--max-differences goes with 'diff'");
        fail("diff a b --input-limit lots", "--input-limit takes");
        fail("restore " MODELINFO_PATH " --input-limit 1K", "more than the input limit of 1024");
        fail("diff /dev/zero /dev/zero", "neither a regular file nor a pipe");
        fail("patch / /", "is a directory"); fail("diff - -", "only one");
        fail("topology -", "must be named");
        fail("topology", "usage: NAME topology FILE [--write JSONFILE]");
        fail("topology a b", "usage: NAME topology FILE [--write JSONFILE]");
        // Output that does not reach its file, closed input and an argument whose bytes would
        // name another file (in the locale's decoding) are refused, whatever the command.
        for (const char *redirect : {" >/dev/full", " >&-"})
            for (const char *line : {"save 0x629066 --model scene", "check --json /none", "--help"})
                fail(QByteArray(line).append(redirect).constData(), "cannot write the output: ");
        fail("check - <&-", "cannot read standard input: it is closed");
        fail("topology \"t$bad.ini\" --write ok.json", "argument 2 ('t\\xff\\xfe.ini') is not");
        fail("topology t.ini --write \"$bad.json\"", "argument 4 ('\\xff\\xfe.json') is not text");
        fail("topology t.ini \"--write=a$bad\"", "argument 3 ('--write=a\\xff\\xfe') is not text");
        fail("check \"$bad\"", "argument 2 ('\\xff\\xfe') is not text");
        fail("topology t.ini --write D/saved.json", "saved.json holds an object, not a JSON array");
        // The store reports no failure; the tool checks that the file holds the array afterwards.
        fail("topology /proc/version --write D/modules.json", "could not store the modules");
        fail("topology D/pipe --write D/modules.json", "is not a regular file");
        fail("topology D/. --write D/modules.json", "is a directory");

        row("0x250300", 0, {"code 0x250300 (2425600)\n", "ic (ModelIC): does not know the code",
            "processor (ModelCalyth): knows the code", "LayerCount                       384"});
        row("codes", 0, {"\n0xA00000  yes       yes   yes        -        24      26     96"
                         "         24        6         6\n"});
        row("ports", 0, {"  52  -             HDMI2.0 HDR\n"});
        row("keyboard --grid", 0, {"\n  -/1X1        -/1X2        -/1X3        -/1X4\n"});
        row("keyboard --grid --json", 0, {"\"operation\": \"grid\""});
        row("--help", 0, {"FILE [--write JSONFILE]"}); row("--version", 0, {"NAME 1.0.0\n"});
        // Declaration order: the device code comes before the owned vectors.
        const QStringList savedStart{"{\n    \"class\": \"ModelCalyth\",\n    \"format\": 1,\n"
                                     "    \"m_deviceCode\": 2425600,\n    \"m_initConstant\""};
        row("save 0x250300", 0, savedStart);
        row("save 0x250300 --model processor --json", 0, savedStart);
        row("save keyboard --grid", 0,
            {"\"class\": \"Model_QuorParam\"", "\"secondString\": \"1X1\\u0000"});

        // check, from a file and from standard input; a path with a line break and a NUL in the
        // document stay on one line.
        row("check D/saved.json", 0, {"D/saved.json: a valid ModelCalyth document, format 1\n"});
        row("check 'D/before\nline.json'", 0, {"D/before\\nline.json: a valid ModelCalyth"});
        row("check - < D/saved.json", 0, {"standard input: a valid ModelCalyth document, format"});
        row("check --json D/scene.json", 0, {"\"class\": \"ModelScene\"", "\"valid\": true"});
        fail("check D/bad.json", "bad.json: m_byte1: expected an integer from 0 to 255, found 300");
        fail("check D/null.json", "D/null.json holds null, not an object");
        fail("check D/string.json", "holds a string, not an object");
        fail("check D/blank.json", "D/blank.json is empty");
        fail("check D/broken.json", "D/broken.json is not valid JSON: ");
        fail("check D/number.json", "D/number.json: m_deviceCode: expected an integer from "
             "-2147483648 to 2147483647, found 9007199254740993");
        fail("check D/nulclass.json", "nulclass.json: class: unknown class \"Model\\x00Calyth\"");
        fail("check D/nulkey.json", "D/nulkey.json: [\"x\\u0000y\"]: unknown member");
        row("check --json D/number.json", 2,
            {"\"file\": \"D/number.json\"", "\"path\": \"m_deviceCode\"", "\"valid\": false"});

        // diff tells equal from different by its exit status.
        row("diff D/saved.json D/edited.json", 1, {"m_value4: 0 -> 5\n"});
        row("diff D/saved.json D/saved.json", 0, {"no differences\n"});
        row("diff D/edited.json D/saved.json --json", 1,
            {"\"path\": \"m_value4\"", "\"before\": 5"});
        fail("diff D/saved.json D/bad.json", "m_byte1");
        fail("diff D/saved.json D/scene.json", "compare documents of one class");
        row("diff D/saved.json D/after.json --max-differences 1", 1,
            {"... and 1 more differences (2 in all; see --max-differences)\n"});

        // patch puts what diff --json printed into the earlier document, and refuses what does
        // not fit.
        row("patch D/saved.json D/changes.json", 0, {"\"m_byte1\": 7,", "\"m_value4\": 5,"});
        row("patch D/saved.json D/changes.json --compact", 0,
            {"{\"class\":\"ModelCalyth\",\"format\":1,", "\"m_byte1\":7,"});
        fail("patch D/saved.json D/part.json", "1 more were left out");
        fail("patch D/after.json D/changes.json",
             "D/changes.json does not fit D/after.json: m_byte1: expected 0, found 7");
        fail("patch D/ic.json D/changes.json", "compares ModelCalyth documents, not ModelIC");
        fail("patch D/saved.json D/saved.json", "does not hold the differences");

        // restore shows the object a document restores as the tool shows such objects.
        row("restore D/saved.json", 0, {"ModelCalyth from D/saved.json: device code 0x250300 "
            "(2425600), known to the processor model\n  capacities:\n"});
        row("restore D/scene.json", 0, {"    m_pBankVec[0].pLayerVec          8\n"});
        row("restore D/nulls.json", 0,
            {"    m_pBankVec[0].pLayerVec          0\n", "  m_pBankOutputVec                 0\n"});
        row("restore D/bankplayer.json", 0, {"BankCount"});
        row("restore D/ic.json", 0, {"(7), unknown to the ic model"});
        row("restore D/keyboard.json", 0, {"\n  -/1X1        -/1X2        -/1X3        -/1X4\n"});
        row("restore D/api.json", 0, {"\"class\": \"model_API_param\""});
        row("restore D/protocol.json", 0, {"model_Protocoldata from D/protocol.json:\n{\n    \""});
        row("restore D/osd.json", 0, {"\"m_osdByte1\""});
        row("restore D/topology.json", 0, {"\"m_slotValuesA\": [-1, -1"});
        row("restore --json D/keyboard.json", 0,
            {"\"class\": \"Model_QuorParam\"", "\"file\": \"D/keyboard.json\""});
        // clang-format on
    }

    void commands()
    {
        QFETCH(QString, line);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QString, err);
        QTemporaryDir folder;
        fileBytes(folder.filePath("ok.json"), "[{\"name\": \"left\"}]");
        const Run run = modelinfo(line, folder.path());
        QCOMPARE(run.exitCode, exitCode);
        for (const QString &fragment : out)
            QVERIFY2(run.out.contains(expand(fragment).toUtf8()), run.out.constData());
        QVERIFY2(run.err.contains(expand(err).toUtf8()), run.err.constData());
        if (out.isEmpty())
            QVERIFY2(run.out.isEmpty() && run.err.count('\n') == 1
                         && run.err.startsWith(Name + ": "),
                     run.err.constData());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"ok.json"});
    }

    void deviceJson_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("knownBy"); // processor, scene, bank player, IC, or -
        QTest::addColumn<int>("outputs");
        QTest::newRow("default") << "" << 0x320000 << "psb-" << 8;
        QTest::newRow("hex") << "0x2D0000" << 0x2D0000 << "psbi" << 80;
        QTest::newRow("decimal") << "device 2425601" << 0x250301 << "psb-" << 64;
        QTest::newRow("processor only") << "0x2C0201" << 0x2C0201 << "p---" << 1;
        // Unknown codes keep the capacities of construction.
        QTest::newRow("negative") << "-1" << -1 << "----" << 8;
        QTest::newRow("sign bit") << "0xFFFFFFFF" << -1 << "----" << 8;
    }

    void deviceJson()
    {
        QFETCH(QString, line);
        QFETCH(int, code);
        QFETCH(QString, knownBy);
        QFETCH(int, outputs);
        const QJsonObject device = jsonOf(line);
        QCOMPARE(device["code"].toInt(), code);
        const QJsonArray models = device["models"].toArray();
        QString known;
        for (const QJsonValue &model : models)
            known += model["known"].toBool() ? model["model"].toString().at(0) : u'-';
        QCOMPARE(known, knownBy);
        QCOMPARE(models.first()["capacities"]["OutputCount"].toInt(), outputs);
        // Container sizes are reported only for a code the model knows.
        QCOMPARE(models.first()["containers"]["m_outputRecGList"].toInt(-1),
                 known.startsWith(u'p') ? outputs + 1 : -1);
    }

    void listsJson()
    {
        const QJsonArray codes = jsonOf("codes")["codes"].toArray();
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
        const QJsonArray ports = jsonOf("ports")["ports"].toArray();
        QCOMPARE(ports.size(), 62 + 14);
        QCOMPARE(ports.last()["input"].toString(), "H.264");

        const QJsonObject tables = jsonOf("keyboard --test")["tables"].toObject();
        QCOMPARE(tables.size(), 6);
        QCOMPARE(tables["commonKeys"][5].toArray().size(), 100);
        QCOMPARE(tables["shortcutKeys"][0][0]["secondString"].toString(), "S   17");
        QCOMPARE(jsonOf("keyboard --icons").value("tables")["layerKeys"][4][15]["icon"].toInt(),
                 37);
    }

    // --write says how many modules it stored, and the file reads back as the modules with their
    // values as text, in text output the array itself as indented JSON. Elements that are not
    // objects with members store nothing. No temporary folder is needed.
    void topologyStores_data()
    {
        QTest::addColumn<QByteArray>("modules");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QByteArray>("stored");
        const auto row = [](const char *name, const char *modules, const char *says,
                            const char *stored = "[]") {
            QTest::newRow(name) << QByteArray(modules) << says << QByteArray(stored);
        };
        row("all", R"([{"name": "left", "slot": 3}, {"b": "x", "on": true}])",
            "Stored 2 modules in t.ini",
            R"([{"name": "left", "slot": "3"}, {"b": "x", "on": "true"}])");
        row("none is an object", "[1, 2, 3]", "Stored nothing in t.ini: none of the 3 elements");
        row("empty", "[]", "Stored nothing in t.ini: the array is empty");
        row("some", R"([{"a": 1}, {}, "x"])", "Stored 1 of 3 elements in t.ini", R"([{"a": "1"}])");
    }
    void topologyStores()
    {
        QFETCH(QByteArray, modules);
        QFETCH(QString, says);
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        fileBytes(dir.filePath("t.ini"), "[0]\nold=1\n");
        fileBytes(dir.filePath("m.json"), modules);
        const Run run = modelinfo("topology t.ini --write m.json", dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(says.toUtf8()), run.out.constData());
        const QJsonArray storedModules = QJsonDocument::fromJson(stored).array();
        QCOMPARE(
            modelinfo("topology t.ini --write - --json < m.json", dir.path()).out,
            QJsonDocument(QJsonObject{{"file", "t.ini"},
                                      {"elements", QJsonDocument::fromJson(modules).array().size()},
                                      {"written", storedModules.size()}})
                .toJson());
        // An array that stores nothing leaves no file, or an empty one.
        if (QFile::exists(dir.filePath("t.ini")) || !storedModules.isEmpty()) {
            QCOMPARE(jsonOf("topology t.ini", dir.path())["modules"].toArray(), storedModules);
            QCOMPARE(QJsonDocument::fromJson(modelinfo("topology t.ini", dir.path()).out).array(),
                     storedModules);
        }
    }

    // The manual page documents every command and option of --help, and no other.
    void manualPage()
    {
        const QString help = QString::fromUtf8(modelinfo("--help").out);
        const QString page = QString::fromUtf8(fileBytes(MODELINFO_PAGE));
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

private:
    QString expand(QString text) const
    {
        return text.replace("D/", m_dir.path() + u'/').replace("NAME", Name);
    }

    // The tool run by the shell in folder on a command line (see commands_data()), in a UTF-8
    // locale and without a temporary folder.
    Run modelinfo(const QString &line, const QString &folder = ".") const
    {
        QProcess process;
        process.start("/bin/sh",
                      {"-c",
                       "cd \"$1\" && bad=$(printf '\\377\\376') && "
                       "LC_ALL=C.UTF-8 TMPDIR=/none exec \"$0\" "
                           + expand(line),
                       MODELINFO_PATH, folder});
        if (!process.waitForFinished(60000)) {
            process.kill(); // qFatal() skips the destructor, which would leave the tool running
            qFatal("modelinfo %s did not finish", qPrintable(line));
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QJsonObject jsonOf(const QString &line, const QString &folder = ".") const
    {
        const Run run = modelinfo(line + " --json", folder);
        const QJsonDocument document = QJsonDocument::fromJson(run.out);
        if (run.exitCode != 0 || !document.isObject())
            qFatal("modelinfo %s --json gave no JSON object", qPrintable(line));
        return document.object();
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(ModelInfoTest)
#include "modelinfotest.moc"
