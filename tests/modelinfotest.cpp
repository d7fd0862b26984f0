// Runs the built modelinfo tool as a user would and checks what it prints.

#include <QtTest/QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out, err;
};

const QByteArray Name = MODELINFO_NAME; // modelinfo or modelinfo-qt6

// The tool, or another program, run with arguments; standard input from a file if given, and
// extra environment variables (NAME=value).
Run modelinfo(const QStringList &arguments, const QString &input = {},
              const QStringList &environment = {}, const QString &program = MODELINFO_PATH)
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
        qFatal("%s did not finish", qPrintable(program));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// A shell command line with the tool as $0, for what QProcess cannot do: close standard output,
// or pass bytes that are not text.
Run shell(const QString &script, const QStringList &arguments = {})
{
    return modelinfo(QStringList{"-c", script, MODELINFO_PATH} + arguments, {}, {"LC_ALL=C.UTF-8"},
                     "/bin/sh");
}

QJsonObject jsonOf(const QStringList &arguments)
{
    const Run run = modelinfo(arguments + QStringList{"--json"});
    const QJsonDocument document = QJsonDocument::fromJson(run.out);
    if (run.exitCode != 0 || !document.isObject())
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
    // The documents that the command rows below name as D/...: saved by the tool itself, some
    // edited by hand.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const auto save = [this](const char *name, const QStringList &arguments) {
            QCOMPARE(fileBytes(m_dir.filePath(name), modelinfo(arguments).out).isEmpty(), false);
        };
        // clang-format off
        for (const auto &[name, command] : {
                 std::pair("saved.json", "save 0x250300"), {"before\nline.json", "save 0x250300"},
                 {"small.json", "save 0x2C0200"}, {"scene.json", "save 0x250301 --model scene"},
                 {"bankplayer.json", "save 0x250301 --model=bankplayer"}, {"api.json", "save api"},
                 {"keyboard.json", "save keyboard --grid"}, {"ic.json", "save 7 --model ic"},
                 {"protocol.json", "save protocol --compact"}, {"osd.json", "save osd"},
                 {"topology.json", "save topology"}, {"zero.json", "save 0"}})
            save(name, QString::fromUtf8(command).split(u' '));
        // clang-format on
        const QByteArray saved = fileBytes(m_dir.filePath("saved.json"));
        const QByteArray small = fileBytes(m_dir.filePath("small.json"));
        const auto write = [this](const char *name, const QByteArray &bytes) {
            QCOMPARE(fileBytes(m_dir.filePath(name), bytes), bytes);
        };
        write("edited.json", QByteArray(saved).replace("\"m_value4\": 0", "\"m_value4\": 5"));
        write("after.json",
              QByteArray(saved)
                  .replace("\"m_value4\": 0", "\"m_value4\": 5")
                  .replace("\"m_byte1\": 0", "\"m_byte1\": 7"));
        write("bad.json", QByteArray(saved).replace("\"m_byte1\": 0", "\"m_byte1\": 300"));
        QCOMPARE(QProcess::execute("mkfifo", {m_dir.filePath("pipe")}), 0);
        // clang-format off
        for (const auto &[name, bytes] : {std::pair("modules.json", R"([{"name": "left"}])"),
                 {"null.json", "null"}, {"string.json", "\"x\""}, {"blank.json", " \n"},
                 {"broken.json", "{\"a\": }"}})
            write(name, bytes);
        // clang-format on
        write("number.json",
              QByteArray(small).replace("\"m_deviceCode\": 2884096",
                                        "\"m_deviceCode\": 9007199254740993"));
        write("nulclass.json",
              QByteArray(small).replace("\"ModelCalyth\"", "\"Model\\u0000Calyth\""));
        write("nulkey.json",
              QByteArray(small).replace("\"format\": 1,", "\"format\": 1, \"x\\u0000y\": 0,"));
        // Pointers of a restored model may be null.
        auto nulls = QJsonDocument::fromJson(fileBytes(m_dir.filePath("scene.json"))).object();
        QJsonArray banks = nulls["m_pBankVec"].toArray();
        QJsonObject bank = banks[0].toObject();
        bank["pLayerVec"] = QJsonValue();
        banks[0] = bank;
        nulls["m_pBankVec"] = banks;
        nulls["m_pBankOutputVec"] = QJsonValue();
        write("nulls.json", QJsonDocument(nulls).toJson());
        const QStringList diff{"diff", m_dir.filePath("saved.json"), m_dir.filePath("after.json"),
                               "--json"};
        save("changes.json", diff);
        save("part.json", diff + QStringList{"--max-differences=1"});
    }

    // One command line a row, its arguments split at blanks ('' is an empty one): its exit status
    // and fragments of what it prints. D/ stands for the documents' folder, NAME for the tool's
    // name; a row that fails without a JSON verdict prints one line on standard error and nothing
    // on standard output.
    void commands_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("input"); // a document on standard input
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<bool>("json"); // the same failure again with --json
        const auto row = [](const char *name, const char *line, int exitCode,
                            const QStringList &out, const char *input = "") {
            QTest::newRow(name) << line << input << exitCode << out << "" << false;
        };
        const auto fail
            = [](const char *name, const char *line, const char *err, const char *input = "") {
                  QTest::newRow(name) << line << input << 2 << QStringList() << err << false;
              };
        // Usage errors: the same one-line failure in text and JSON mode alike.
        const auto error = [](const char *name, const char *line, const char *err) {
            QTest::newRow(name) << line << "" << 2 << QStringList() << err << true;
        };
        error("not a number", "0xZZ", "not a device code");
        error("too large", "0x1FFFFFFFF", "not a device code");
        error("unknown command", "frobnicate", "unknown command");
        error("device without code", "device", "usage");
        error("unknown option", "--colour", "colour");
        error("two operations", "keyboard --test --grid", "choose");
        error("misplaced option", "ports --icons", "keyboard");
        error("no topology file", "topology /none/t.ini", "no topology");
        error("no json file", "topology /tmp/t.ini --write /none/in.json", "cannot read");
        error("empty code", "''", "'' is not a device code");
        error("empty device code", "device ''", "'' is not a device code");
        // Control characters in a path are escaped, so that the message stays one line.
        error("line break in a path", "topology /none/a\nb\x01.ini", "/none/a\\nb\\x01.ini");
        error("save without code", "save", "usage");
        error("save unknown model", "save 0x250300 --model mixer", "unknown model 'mixer'");
        error("model without save", "0x250300 --model ic", "--model");
        error("model of keyboard", "save keyboard --model ic", "--model");
        error("diff one file", "diff /none/a.json", "usage");
        error("model twice", "save 0 --model ic --model ic", "--model given more than once");
        error("write twice", "topology t.ini --write a --write=b", "--write given");
        error("compact without a document", "codes --compact", "--compact goes with");
        error("limit without diff", "codes --max-differences 3",
              "--max-differences goes with 'diff'");
        error("input limit not a size", "diff a b --input-limit lots", "--input-limit takes");
        error("file over the input limit", "restore " MODELINFO_PATH " --input-limit 1K",
              "more than the input limit of 1024 bytes");
        error("device that never ends", "diff /dev/zero /dev/zero",
              "neither a regular file nor a pipe");
        error("directory", "patch / /", "is a directory");
        error("standard input twice", "diff - -", "only one");
        error("topology on standard input", "topology -", "must be named");
        error("patch one file", "patch a", "usage: NAME patch");

        // The store reports no failure; the tool checks that the file holds the array afterwards.
        fail("store in a kernel file", "topology /proc/version --write D/modules.json",
             "could not store the modules");
        fail("store in a pipe", "topology D/pipe --write D/modules.json", "is not a regular file");
        fail("store in a directory", "topology D/. --write D/modules.json", "is a directory");

        row("device text", "0x250300", 0,
            {"Device code 0x250300 (2425600)\n", "processor (ModelCalyth): knows the code",
             "ic (ModelIC): does not know the code", "LayerCount                       384"});
        row("default device", "", 0, {"Device code 0x320000 (3276800)\n"});
        row("codes", "codes", 0,
            {"\n0xA00000  yes       yes   yes        -        24      26     96         24        "
             "6         6\n"});
        row("ports", "ports", 0, {"  52  -             HDMI2.0 HDR\n"});
        row("keyboard grid", "keyboard --grid", 0,
            {"\n  -/1X1        -/1X2        -/1X3        -/1X4\n"});
        row("keyboard grid json", "keyboard --grid --json", 0, {"\"operation\": \"grid\""});
        row("help", "--help", 0, {"topology FILE [--write JSONFILE]"});
        row("version", "--version", 0, {"NAME 1.0.0\n"});
        const char *topologyUsage = "usage: NAME topology FILE [--write JSONFILE]";
        fail("topology without a file", "topology", topologyUsage);
        fail("topology of two files", "topology a b", topologyUsage);
        // Declaration order: the device code comes before the owned vectors.
        const QString savedStart = "{\n    \"class\": \"ModelCalyth\",\n    \"format\": 1,\n"
                                   "    \"m_deviceCode\": 2425600,\n    \"m_initConstant\"";
        row("save", "save 0x250300", 0, {savedStart});
        row("save, model named", "save 0x250300 --model processor --json", 0, {savedStart});
        row("save keyboard", "save keyboard --grid", 0,
            {"\"class\": \"Model_QuorParam\"", "\"secondString\": \"1X1\\u0000"});

        // check, from a file and from standard input; a path with a line break and a NUL in the
        // document stay on one line.
        const QString valid = ": a valid ModelCalyth document, format 1\n";
        row("check", "check D/saved.json", 0, {"D/saved.json" + valid});
        row("check, line break", "check D/before\nline.json", 0, {"D/before\\nline.json" + valid});
        row("check scene", "check --json D/scene.json", 0,
            {"\"class\": \"ModelScene\"", "\"valid\": true"});
        row("check stdin", "check -", 0, {"standard input" + valid}, "D/small.json");
        fail("check bad", "check D/bad.json",
             "D/bad.json: m_byte1: expected an integer from 0 to 255, found 300\n");
        fail("check bad stdin", "check -", "m_byte1: expected an integer", "D/bad.json");
        fail("check null", "check D/null.json", "D/null.json holds null, not an object");
        fail("check string", "check D/string.json", "holds a string, not an object");
        fail("check blank", "check D/blank.json", "D/blank.json is empty");
        fail("check broken", "check D/broken.json", "D/broken.json is not valid JSON: ");
        fail("check number as written", "check D/number.json",
             "D/number.json: m_deviceCode: expected an integer from -2147483648 to 2147483647, "
             "found 9007199254740993");
        fail("check NUL in the class", "check D/nulclass.json",
             "D/nulclass.json: class: unknown class \"Model\\x00Calyth\"");
        fail("check NUL in a key", "check D/nulkey.json",
             "D/nulkey.json: [\"x\\u0000y\"]: unknown member");
        row("check verdict", "check --json D/number.json", 2,
            {"\"file\": \"D/number.json\"", "\"path\": \"m_deviceCode\"", "\"valid\": false"});

        // diff tells equal from different by its exit status.
        row("diff", "diff D/saved.json D/edited.json", 1, {"m_value4: 0 -> 5\n"});
        row("diff equal", "diff D/saved.json D/saved.json", 0, {"no differences\n"});
        row("diff json", "diff D/edited.json D/saved.json --json", 1,
            {"\"path\": \"m_value4\"", "\"before\": 5"});
        fail("diff bad", "diff D/saved.json D/bad.json", "m_byte1");
        fail("diff classes", "diff D/saved.json D/scene.json", "compare documents of one class");
        row("diff limit", "diff D/saved.json D/after.json --max-differences 1", 1,
            {"... and 1 more differences (2 in all; see --max-differences)\n"});

        // patch puts what diff --json printed into the earlier document, and refuses what does
        // not fit.
        const QStringList patched{"\"m_byte1\": 7,", "\"m_value4\": 5,"};
        row("patch", "patch D/saved.json D/changes.json", 0, patched);
        row("patch stdin", "patch - D/changes.json", 0, patched, "D/saved.json");
        row("patch compact", "patch D/saved.json D/changes.json --compact", 0,
            {"{\"class\":\"ModelCalyth\",\"format\":1,", "\"m_byte1\":7,"});
        fail("patch part", "patch D/saved.json D/part.json", "1 more were left out");
        fail("patch misfit", "patch D/after.json D/changes.json",
             "D/changes.json does not fit D/after.json: m_byte1: expected 0, found 7");
        fail("patch class", "patch D/ic.json D/changes.json",
             "compares ModelCalyth documents, not ModelIC");
        fail("patch document", "patch D/saved.json D/saved.json", "does not hold the differences");

        // restore shows the object a document restores as the tool shows such objects.
        row("restore processor", "restore D/saved.json", 0,
            {"ModelCalyth from D/saved.json: device code 0x250300 (2425600), known to the "
             "processor model\n  capacities:\n"});
        row("restore scene", "restore D/scene.json", 0,
            {"    m_pBankVec[0].pLayerVec          768\n"});
        row("restore null pointers", "restore D/nulls.json", 0,
            {"    m_pBankVec[0].pLayerVec          0\n",
             "    m_pBankOutputVec                 0\n"});
        row("restore bank player", "restore D/bankplayer.json", 0, {"BankCount"});
        row("restore ic", "restore D/ic.json", 0, {"(7), unknown to the ic model"});
        row("restore keyboard", "restore D/keyboard.json", 0,
            {"\n  -/1X1        -/1X2        -/1X3        -/1X4\n"});
        row("restore api", "restore D/api.json", 0, {"\"class\": \"model_API_param\""});
        row("restore protocol", "restore D/protocol.json", 0,
            {"model_Protocoldata from D/protocol.json:\n{\n    \"class\""});
        row("restore osd", "restore D/osd.json", 0, {"\"m_osdByte1\""});
        row("restore topology", "restore D/topology.json", 0, {"\"m_slotValuesA\": [-1, -1"});
        row("restore json", "restore --json D/keyboard.json", 0,
            {"\"class\": \"Model_QuorParam\"", "\"file\": \"D/keyboard.json\""});
    }

    void commands()
    {
        QFETCH(QString, line);
        QFETCH(QString, input);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QString, err);
        QFETCH(bool, json);
        const QString dir = m_dir.path() + QLatin1Char('/');
        const auto expand
            = [&dir](QString text) { return text.replace("D/", dir).replace("NAME", Name); };
        QList<QStringList> variants{line.replace("D/", dir).split(u' ', Qt::SkipEmptyParts)};
        variants[0].replaceInStrings(QRegularExpression("^''$"), QString());
        if (json)
            variants << variants.first() + QStringList{"--json"};
        for (const QStringList &args : variants) {
            const Run run = modelinfo(args, expand(input));
            QCOMPARE(run.exitCode, exitCode);
            for (const QString &fragment : out)
                QVERIFY2(run.out.contains(expand(fragment).toUtf8()), run.out.constData());
            QVERIFY2(run.err.contains(expand(err).toUtf8()), run.err.constData());
            if (exitCode == 2 && out.isEmpty()) {
                QCOMPARE(run.out, QByteArray());
                QCOMPARE(run.err.count('\n'), 1);
                QVERIFY(run.err.startsWith(Name + ": "));
            }
        }
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

    // Output that does not reach its file, closed input and an argument whose bytes do not
    // survive the locale's decoding (it would name another file) are refused with one message,
    // whatever the command, and no file is read or written.
    void shellFailures_data()
    {
        QTest::addColumn<QString>("script");  // run in a folder that holds only ok.json
        QTest::addColumn<QString>("message"); // how standard error starts
        for (const char *redirect : {" >/dev/full", " >&-"})
            for (const char *arguments :
                 {"codes", "save 0x250301 --model scene", "diff D/zero.json D/zero.json",
                  "check --json /none", "--help", "--version"})
                QTest::addRow("%s%s", arguments, redirect) << QString("exec \"$0\" ") + arguments
                        + redirect << "NAME: cannot write the output: ";
        const auto row = [](const char *name, const char *script, const char *message) {
            QTest::newRow(name) << QString("exec \"$0\" ") + script << message;
        };
        row("closed input", "check - <&-", "NAME: cannot read standard input: it is closed\n");
        row("JSON file without an array", "topology t.ini --write D/saved.json",
            "NAME: D/saved.json holds an object, not a JSON array\n");
        // $bad holds the bytes ff fe.
        row("topology file", "topology \"t$bad.ini\" --write ok.json",
            "NAME: argument 2 ('t\\xff\\xfe.ini') is not text");
        row("JSON file", "topology t.ini --write \"$bad.json\"",
            "NAME: argument 4 ('\\xff\\xfe.json') is not text");
        row("option with its value", "topology t.ini \"--write=a$bad\"",
            "NAME: argument 3 ('--write=a\\xff\\xfe') is not text");
        row("document", "check \"$bad\"", "NAME: argument 2 ('\\xff\\xfe') is not text");
    }
    void shellFailures()
    {
        QFETCH(QString, script);
        QFETCH(QString, message);
        QTemporaryDir dir;
        fileBytes(dir.filePath("ok.json"), "[{\"name\": \"left\"}]");
        const Run run = shell("cd \"$1\" && bad=$(printf '\\377\\376') && "
                                  + script.replace("D/", m_dir.path() + u'/'),
                              {dir.path()});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        message.replace("NAME", Name).replace("D/", m_dir.path() + u'/');
        QVERIFY2(run.err.startsWith(message.toUtf8()), run.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ok.json"});
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
            "Stored 2 modules in FILE",
            R"([{"name": "left", "slot": "3"}, {"b": "x", "on": "true"}])");
        row("none is an object", "[1, 2, 3]", "Stored nothing in FILE: none of the 3 elements");
        row("empty", "[]", "Stored nothing in FILE: the array is empty");
        row("some", R"([{"a": 1}, {}, "x"])", "Stored 1 of 3 elements in FILE", R"([{"a": "1"}])");
    }
    void topologyStores()
    {
        QFETCH(QByteArray, modules);
        QFETCH(QString, says);
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        const QString ini = dir.filePath("t.ini"), json = dir.filePath("m.json");
        fileBytes(ini, "[0]\nold=1\n");
        fileBytes(json, modules);
        const QStringList noTemp{"TMPDIR=/none"};
        const Run run = modelinfo({"topology", ini, "--write", json}, {}, noTemp);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(says.replace("FILE", ini).toUtf8()), run.out.constData());
        const QJsonArray storedModules = QJsonDocument::fromJson(stored).array();
        QCOMPARE(
            modelinfo({"topology", ini, "--write", "-", "--json"}, json, noTemp).out,
            QJsonDocument(QJsonObject{{"file", ini},
                                      {"elements", QJsonDocument::fromJson(modules).array().size()},
                                      {"written", storedModules.size()}})
                .toJson());
        // An array that stores nothing leaves no file, or an empty one.
        if (QFile::exists(ini) || !storedModules.isEmpty()) {
            QCOMPARE(jsonOf({"topology", ini})["modules"].toArray(), storedModules);
            QCOMPARE(QJsonDocument::fromJson(modelinfo({"topology", ini}).out).array(),
                     storedModules);
        }
    }

    // The manual page documents every command and option of --help, and no other.
    void manualPage()
    {
        const QString help = QString::fromUtf8(modelinfo({"--help"}).out);
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
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(ModelInfoTest)
#include "modelinfotest.moc"
