#include <model/topology/model_topology_param.h>

#include "settingsreference.h"

#include <QtTest/QtTest>

#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using Topology = model_topology_param;

static QJsonArray json(const char *text)
{
    return QJsonDocument::fromJson(text).array();
}

// The tables of the differential tests: name, then a JSON array to write, or a file to read.
// (Hidden from moc, which takes the escaped quotes in raw strings for the end of the string.)
#ifndef Q_MOC_RUN
// clang-format off
    static const char *const s_arrays[][2] = {
        {"plain values", R"([{"s": "x", "n": 5, "f": 0.5, "big": 1e20, "t": true, "e": ""}])"},
        {"lists and objects", R"([{"l": [1, "a"], "one": ["a"], "none": [], "o": {"k": 1}, "null": null, "deep": [[[1]], {"a": [1, {"b": null}]}], "m": {"a,=;\"\\ \u007f\u00e9~1a": 0.1}}])"},
        {"quoted and escaped", R"([{"q": "a, b", "sp": " a ", "qs": "\"hi\"", "bs": "a\\b", "c": "\u0001a\u0001g\t1\u0007\u000b\u001f\u007f", "nul": "x\u0000a", "at": "@x", "at2": "@\u0000", "semi": "a;b#c", "eq": "="}])"},
        {"keys", R"([{"a b": 1, "#;%[]=\"\\": 2, "/": 3, "a//b/": 4, "//a": 5, "é": 6, "日本": 7, "\u0001": 8, "-._~": 9}])"},
        {"keys of slashes", R"([{"/": "x", "a": 1, "": 0}, {"//": 2}])"},
        {"special characters", R"([{"a=b": "[a]", ";a": "a\nb", "a\nb": "Grüße 日本", "Grüße 日本": "a=b"}])"},
        {"beyond the BMP", R"([{"k😀": "😀x", "lone": "a\ud800b", "end": "\udc00", "escaped": "a\ud800\\nb",
            "pair": "a\ud800\\\udc00b", "low": "a\udc00\"b", "hex": "x\ud800\u0001b",
            "after": "\u0002\ud83d\ude00a"}])"},
        {"sections by name", R"([{"a": 1}, {}, 3, {"b": 2}, {"c": 3}, {"d": 4}, {"e": 5}, {"f": 6},
            {"g": 7}, {"h": 8}, {"i": 9}, {"j": 10}, {"k": 11}])"},
    };
// clang-format on

// clang-format off
    static const char *const s_files[][2] = {
        {"lists", "[0]\na=b,c\nb=,\nc=\",\"\nd=\"x\" , \"y\"\ne=x,,y"},
        {"quotes and blanks", "[0]\na= x \nb=\"x\"y\nc=x\"y\"z\nd=\" x\"\\x41\ne=\"x\ny\"\nf=\"x\n\t g\t=\tc\t"},
        {"blanks around quotes", "[0]\na=\"x\"y \nb=\"x\" y\nc=y \"x\" z \nd=\"\" y \ne=\"x\"\\x41 \nf=\"x\"y\t \ng=y \"x\" \nh=\"4x\"\\x 1\ni=\\q  y\n\"a#=1"},
    {"logical lines", "[0]=@Variant(\\0\\x2\\\na=1\n[1]\"\na=1\"\nb=2\n;\"\nc=2\"\nd=3\n[2]x\"\ne=2\"\nf=1;c\\\ng=2"},
    {"percent escapes", "[0]\n%D 4a%+1%-1%0x%U 041%U-001%U0x41=1\n%g=1%\n%U0\x01" "020a=2"},
    {"geometry", "[0]\na=@Size(a b)\nb=@Size(1  2)\nc=@Size( 1 2)\nd=@Rect(a b c d)\ne=@Point(1 2 )\nf=@Size(1\xff\x91 2)"},
    {"variant data up to the parenthesis", "[0]\na=@Variant(\\0\\0\\0\\n\\0\\0\\0\\n\\xff\\xf0f\\xff\\xf0f\\xf/f\\x\\0f)"},
    {"white space around names", "[\v0\f]\n\xc2\xa0" "a\xc2\x85=1\n\fb=2\n\rc=3\n\x85" "d=4\n[\xc2\xa0 1\xc2\x85]\na=1\n[\xa0 2\x85]\na=1"},
    {"dates", "[0]\na=@DateTime(\\0\\0\\0\\x10\\0\\0\\0\\0\\0\\0%\\x84\\xe3\\0\\xa8\\x88\\x88\\0)\nb=@DateTime(\\0==c\\0\\0\\x10\\(0\\0\\0\\0)\nc=@DateTime(\\0\\0\\0\\x10\\0\\x25\\x7f\\xe2\\x1\\x43\\x36\\0\\x1)"},
    {"escapes", "[0]\na=\\q\\a\\b\\f\\v\\e\\?\\\\\\0\\1\\01\\7\\8\\x41\\x4g\\x\nb=\\x263A\\x10000041\\U0041\nc=\\012\\0123\\7777\\x"},
        {"comments and continuations", "[0]\na=x;c\nb=x#c\nc=x\\\n y\\\n\nd=1;\\\ne=2\nx;y=1\n\"k\"=1\n#k=1\nf=\"x;y\"z;w"},
        {"line ends", "[0]\r\na=1\r\nb=2\r\n[1]\rc=3\rd=\\\r\nx\n[2]\ne=1\nf=x=1\\\n\rg=y2"},
        {"keys", "[0]\n%41%4=1\n%=1\n%U0041%4a=1\n%u0041=1\nb\\c=1\na\\\\b=1\n\\a\\=1\n=x\n==x\na==x\n\xc3\xa9\xff=1\n\fk\f=\f1\f"},
        {"sections", "\xef\xbb\xbf[1]\n[0]\na=1\n[General]\ng=1\n[0]\nb=2\n[ 2 ]junk\nc=1\n[%33\nd=1\n[5\\x]\ne=1\n[02]\nf=1"},
        {"groups from paths", "x\\y=1\n[a]=x\n[0]\na=1"},
        {"sequences cut by escapes and quotes", "[0]\na=\xcf\\x41)\nb=x\xcf\\x41b\nc=\"\xcf\"\xa3\nd=\xcf\\x41\ne=\xdd"},
        {"blanks beside cut sequences", "[0]\na=x \\q\nb=x\t\\\nc=x \"\"\nd=\xef \xdd\ne=\xf0\x98\xbb\t0\nf=\xe2\x80\\\xf0 a\ng=\"\xef\xa9,x\"\nh=\xef\xbb\xbf@@x"},
        {"names of slashes", "0=3\n[0]\n=1\n\\=2\n//=3\na%2F=4\n[1/]\n=5\n[1//a]\n/b=6\n[2\\x]\n%2F=7"},
        {"empty sections", "[0]\n;c\n[1]\na=1\n[3]"},
        {"general", "[general]\na=1\n[0]\nb=1\n[%General]\ng=1\n[General/\n=\n[%47eneral]\nh=1"},
        {"binary forms", "[0]\na=@\nb=@@x\nc=@Invalid()\nd=@ByteArray(\\xc3\\xa9)\ne=@ByteArray(abc\nf=@ByteArray(a)(b)\ng=@String(\\x100)\nh=@Foo(x)\ni=@Rect(1 2 3 4)\nj=@Rect(x)\nk=@Size(1 2)\nl=@Point()\nm=@Invalid(x)\nn=@ByteArray(\xc3\xa9)\no=\"@ByteArray(x)\"\np=\\x40ByteArray(x)"},
        {"variants", "[0]\na=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nb=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)\nc=@Variant(\\0\\0\\0\\x0b\\0\\0\\0\\x01\\0\\0\\0\\x02\\0\\x61)\nd=@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1\\0\\0\\0\\n\\0\\0\\0\\x2\\0\\x61)\ne=@Variant(\\0\\0\\0\\x1\\x1)\nf=@Variant(\\0\\0\\0\\x6?\\xb9\\x99\\x99\\x99\\x99\\x99\\x9a)\ng=@Variant(\\0\\0\\0\\x11\\0\\0\\0\\x2\\x61\\x3a)\nh=@Variant()\ni=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x3\\0h\\0)\nj=@Variant(\\0\\0\\0\\x10\\0\\x25\\x7f\\xe2\\x1\\x43\\x36\\0\\x1)\nk=@Variant(\\0\\0\\0\\x7\\0\\x41)"},
    {"JSON, CBOR and small integers", "[0]\na=@Variant(\\0\\0\\0\\x89\\x31)\nb=@Variant(\\0\\0\\0\\x8e\\x3\\0\\0\\0\\x4\\0\\x61\\0\\x62)\nc=@Variant(\\0\\0\\0\\x8e\\x4\\0\\0\\0\\x3[1])\nd=@Variant(\\0\\0\\0\\x96\\0\\0\\0\\x1\\x5)\ne=@Variant(\\0\\0\\0\\x96\\0\\0\\0\\x2\\x81\\x1)\nf=@DateTime(\\0\\0\\0(\\0\\x31)\ng=@DateTime(\\0\\0\\0-\\0\\x3\\0\\0\\0\\x4\\0\\x61\\0\\x62)\nh=@DateTime(\\0\\0\\0\\x35\\0\\0\\0\\0\\x3\\xa1\\x1\\x2)\ni=@DateTime(\\0\\0\\0\\x35\\0\\0\\0\\0\\x2\\x61\\x62)\nj=@Variant(\\0\\0\\0\\x22\\x41)\nk=@Variant(\\0\\0\\0\\x20\\0\\0\\0\\0\\0\\0\\0\\x7)"},
    {"variants by type name", "[0]\na=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x4QUrl\\0\\0\\0\\0\\x2\\x61\\x3a)\nb=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x4int\\0\\0\\0\\0\\x5)\nc=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x6QUuid\\0\\x1\\x2\\x3\\x4\\x5\\x6\\a\\b\\t\\n\\v\\f\\r\\xe\\xf\\x10)\nd=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x2x\\0)\ne=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\fQVariantList\\0\\0\\0\\0\\0)"},
        {"UTF-8", "[0]\na=\xc3\x28\nb=\xf0\x9f\x98\x80\n\xf0\x9f\x98\x80=1\nc=\xed\xa0\x80\nd=\xef\xbb\xbfx\ne=@ \xef\xbb\xbf\xef\xbb\xbf x\nf=\"\xef\xbb\xbf\"\ng=\\x80B\xef\xbb\xbfy\nh=\"x\"  \xef\xbb\xbfy"},
    };
// clang-format on
#endif

// Runs work on a thread with a small stack, as a client's worker thread may have.
static void onSmallStack(const std::function<void()> &work)
{
    QScopedPointer<QThread> thread(QThread::create(work));
    thread->setStackSize(256 * 1024);
    thread->start();
    QVERIFY(thread->wait(60000));
}

// n arrays, one inside the other, around "x".
static QJsonValue nested(int n)
{
    QJsonValue value(QStringLiteral("x"));
    for (int i = 0; i < n; ++i)
        value = QJsonArray{value};
    return value;
}

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The writer that the debris tests start and kill: writes two large arrays in turn, for ever.
static const char KeepWritingOption[] = "--keep-writing";

static QJsonArray largeModules(int variant)
{
    QJsonArray modules;
    for (int i = 0; i < 2000; ++i)
        modules.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("module %1").arg(i)},
                                   {QStringLiteral("variant"), variant}});
    return modules;
}

static int keepWriting(const QString &path)
{
    const QJsonArray modules[] = {largeModules(1), largeModules(2)};
    model_topology_param store;
    for (int i = 0;; i = 1 - i)
        store.setTPLYModuleData(path, modules[i]);
}

class model_topology_paramTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("topology.ini"));
    }

    // A write replaces a longer file that was read before (no stale or merged sections), an array
    // with nothing to store removes the file, and no write leaves a scratch file.
    void replacesAndRemoves()
    {
        m_store.setTPLYModuleData(m_path, json(R"([{"i": 0, "a": 0}, {"v": 1}, {"v": 2}])"));
        QCOMPARE(m_store.getTPLYModuleData(m_path).size(), 3);
        m_store.setTPLYModuleData(m_path, json(R"([{"b": 1}])"));
        QCOMPARE(m_store.getTPLYModuleData(m_path), json(R"([{"b": "1"}])"));
        QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});
        m_store.setTPLYModuleData(m_path, json(R"([{}, 1, {"": 1}])"));
        QCOMPARE(files(), QStringList());
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QJsonArray>("modules");
        QTest::newRow("many modules") << largeModules(1);
        // The settings store reports no error when this one is cut short.
        QTest::newRow("one long value")
            << QJsonArray{QJsonObject{{QStringLiteral("name"), QString(8192, QLatin1Char('x'))}}};
    }

    // A write cut short by the file size limit (which, unlike permission bits, stops root too)
    // leaves the old file as it was, and no temporary file behind.
    void failedWriteKeepsOldFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs a file size limit");
#else
        QFETCH(QJsonArray, modules);
        m_store.setTPLYModuleData(m_path, json(R"([{"old": 1}])"));
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit limited{4096, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the test
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        m_store.setTPLYModuleData(m_path, modules);
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});
        QCOMPARE(m_store.getTPLYModuleData(m_path), json(R"([{"old": "1"}])"));
#endif
    }

    // A read returns what the file holds, even when another process or a write of this one
    // replaced it with a version of the same size and modification time as the one read before.
    void readsWhatTheFileHolds()
    {
        Topology store;
        store.setTPLYModuleData(m_path, json(R"([{"v": "a"}])"));
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"v": "a"}])"));
        const QDateTime time = QFileInfo(m_path).lastModified();
        const auto backdated = [&] {
            QFile file(m_path);
            return file.open(QIODevice::ReadWrite)
                && file.setFileTime(time, QFileDevice::FileModificationTime);
        };
        QVERIFY(writeFile(m_path, readAll(m_path).replace("v=a", "v=b")) && backdated());
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"v": "b"}])"));
        store.setTPLYModuleData(m_path, json(R"([{"v": "c"}])"));
        QVERIFY(backdated());
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"v": "c"}])"));
    }

    // Values that the settings store would decode, by recursion, from their binary form (a
    // variant of a plain type, which is text, is a row of the "variants" file above).
    void nestedValues_data()
    {
        QTest::addColumn<QByteArray>("value");
        const QByteArray deepList
            = "@Variant(" + QByteArray("\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(40000) + ")";
        QTest::newRow("list nested 40000 deep") << deepList;
        QTest::newRow("in quotes") << "\"" + deepList + "\"";
        QTest::newRow("in a list") << "a, " + deepList;
        QTest::newRow("'@' escaped") << "\\x40" + deepList.mid(1);
        QTest::newRow("date form") << "@DateTime(" + deepList.mid(9);
        QTest::newRow("map") << QByteArray("@Variant(\\0\\0\\0\\b\\0\\0\\0\\0)");
    }

    // Such a value reads as empty text, also on a small stack, and costs nothing else in the file.
    void nestedValues()
    {
        QFETCH(QByteArray, value);
        QVERIFY(writeFile(m_path, "[0]\nname=left\nvalue=" + value + "\n[1]\nname=right\n"));
        QJsonArray modules;
        onSmallStack([&] { modules = Topology().getTPLYModuleData(m_path); });
        QCOMPARE(modules, json(R"([{"name": "left", "value": ""}, {"name": "right"}])"));
    }

    // A member value nested deeper than 32 levels is stored as empty text, which is what any
    // array or object reads back as; the writer does not run out of stack on a small one either.
    void deeplyNestedMember_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("32 levels") << 32 << QByteArray("deep=@Variant(");
        QTest::newRow("33 levels") << 33 << QByteArray("deep=\n");
        QTest::newRow("5000 levels") << 5000 << QByteArray("deep=\n");
    }

    void deeplyNestedMember()
    {
        QFETCH(int, depth);
        QFETCH(QByteArray, line);
        const QJsonArray modules{
            QJsonObject{{QStringLiteral("deep"), nested(depth)}, {QStringLiteral("n"), 1}}};
        QJsonArray read;
        onSmallStack([&] {
            Topology store;
            store.setTPLYModuleData(m_path, modules);
            read = store.getTPLYModuleData(m_path);
        });
        QCOMPARE(read, json(R"([{"deep": "", "n": "1"}])"));
        QVERIFY(readAll(m_path).contains(line));
    }

    // A link is followed to the file it names, by both writes: an empty array removes that file
    // and leaves the link, and the next write makes the file again. Whatever is not a regular file
    // is left alone and reads as empty; so do an empty path and a missing file.
    void targets_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"link", "directory", "pipe", "link to a pipe", "empty", "missing"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void targets()
    {
        QFETCH(QString, kind);
        const QString pipe = m_dir->filePath(QStringLiteral("pipe"));
        const QString real = m_dir->filePath(QStringLiteral("real.ini"));
        if (kind == QLatin1String("directory"))
            QVERIFY(QDir().mkpath(m_path));
        else if (kind.endsWith(QLatin1String("pipe")))
            QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(kind == QLatin1String("pipe") ? QFile::rename(pipe, m_path) : true);
        QVERIFY(kind.startsWith(QLatin1String("link"))
                    ? QFile::link(kind == QLatin1String("link") ? real : pipe, m_path)
                    : true);
        const QString path = kind == QLatin1String("empty") ? QString()
            : kind == QLatin1String("missing")              ? m_dir->filePath(QStringLiteral("a/b"))
                                                            : m_path;
        const QStringList before = files();
        const QJsonArray one = json(R"([{"a": 1}])");
        for (const QJsonArray &modules : {one, QJsonArray(), one}) {
            if (kind != QLatin1String("missing")) // a write makes a missing file
                m_store.setTPLYModuleData(path, modules);
            if (kind == QLatin1String("link")) {
                QVERIFY(QFileInfo(m_path).isSymLink());
                QCOMPARE(QFileInfo::exists(real), !modules.isEmpty());
                QCOMPARE(m_store.getTPLYModuleData(real),
                         modules.isEmpty() ? modules : json(R"([{"a": "1"}])"));
                continue;
            }
            QCOMPARE(files(), before);
            QVERIFY(!QFileInfo(path).isFile());
            QCOMPARE(m_store.getTPLYModuleData(path), QJsonArray());
        }
    }

    // Arrays written by the store and by the settings store are the same bytes; files the
    // settings store reads, by hand or damaged, the store reads alike. Rows are quirks of the
    // format, on this flavour.
    void asSettingsStore_data()
    {
        QTest::addColumn<QByteArray>("array");
        QTest::addColumn<QByteArray>("file");
        for (const auto &row : s_arrays)
            QTest::newRow(row[0]) << QByteArray(row[1]) << QByteArray();
        for (const auto &row : s_files)
            QTest::newRow(row[0]) << QByteArray() << QByteArray(row[1]);
    }

    void asSettingsStore()
    {
        QFETCH(QByteArray, array);
        QFETCH(QByteArray, file);
        if (!array.isEmpty()) {
            const QString theirs = m_dir->filePath(QStringLiteral("settings.ini"));
            SettingsReference::write(theirs, json(array.constData()));
            m_store.setTPLYModuleData(m_path, json(array.constData()));
            file = readAll(theirs);
            QVERIFY(!file.isEmpty());
            QCOMPARE(readAll(m_path), file);
        }
        QVERIFY(writeFile(m_path, file));
        QCOMPARE(m_store.getTPLYModuleData(m_path), settingsRead(file));
    }

#ifdef Q_OS_UNIX
    // With the temporary folder gone, every read of a write in the same process is that write.
    void needsNoTemporaryFolder()
    {
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_dir->filePath(QStringLiteral("none")).toLocal8Bit());
        for (int i = 0; i < 200; ++i) {
            QJsonArray modules{QJsonObject { { QStringLiteral("v"), QString::number(i) } }};
            modules.append(QJsonObject{{ QStringLiteral("n"), nested(i % 3) }});
            m_store.setTPLYModuleData(m_path, modules);
            QCOMPARE(m_store.getTPLYModuleData(m_path)[0], modules[0]);
        }
        qputenv("TMPDIR", saved);
    }

    // Path bytes that are no UTF-8 name that file and no other.
    void undecodablePath()
    {
        const QByteArray name = QFile::encodeName(m_dir->path()) + "/t\xff\xfe.ini";
        m_store.setTPLYModuleData(QFile::decodeName(name), json(R"([{"a": 1}])"));
        QVERIFY(QFile::exists(QFile::decodeName(name)));
        QCOMPARE(files().size(), 1);
        QCOMPARE(m_store.getTPLYModuleData(QFile::decodeName(name)), json(R"([{"a": "1"}])"));
    }

    // Writers that run together log nothing, killed ones leave the file complete, a stopped one
    // keeps the lock (the next write waits) and the next write after a killed one removes its
    // scratch file.
    void concurrentWriters()
    {
        Topology store;
        store.setTPLYModuleData(m_path, json(R"([{"first": 1}])"));
        QProcess writers[3];
        for (QProcess &writer : writers)
            startWriter(writer);
        QThread::msleep(1500);
        for (QProcess &writer : writers) {
            writer.kill();
            QVERIFY(writer.waitForFinished());
            QCOMPARE(writer.readAllStandardError(), QByteArray());
            const int size = store.getTPLYModuleData(m_path).size();
            QVERIFY(size == 2000 || size == 1);
        }
        // Whatever the killed writers left, the next write removes.
        store.setTPLYModuleData(m_path, json(R"([{"first": 1}])"));
        QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});

        QProcess writer;
        QStringList scratch;
        const QDeadlineTimer deadline(60000);
        for (int attempt = 0; scratch.isEmpty() && !deadline.hasExpired(); ++attempt) {
            if (writer.state() == QProcess::NotRunning)
                startWriter(writer);
            QThread::msleep(attempt % 10);
            ::kill(pid_t(writer.processId()), SIGSTOP);
            scratch = files().filter(QStringLiteral("~"));
            if (scratch.isEmpty())
                ::kill(pid_t(writer.processId()), SIGCONT);
        }
        QVERIFY(!scratch.isEmpty());
        QScopedPointer<QThread> next(QThread::create(
            [&] { Topology().setTPLYModuleData(m_path, json(R"([{"second": 2}])")); }));
        next->start();
        QVERIFY(!next->wait(500));
        QCOMPARE(files().filter(QStringLiteral("~")), scratch);
        writer.kill();
        QVERIFY(writer.waitForFinished());
        QVERIFY(next->wait(10000));
        QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"second": "2"}])"));
    }
#endif

private:
    // How the settings store reads a file of these bytes, sections taken by number. Every file
    // gets a name of its own: the store keeps what it parsed of a name for the process's life.
    QJsonArray settingsRead(const QByteArray &text)
    {
        static int count = 0;
        const QString path = m_dir->filePath(QStringLiteral("read-%1.ini").arg(++count));
        if (!writeFile(path, text))
            return {};
        return SettingsReference::read(path);
    }

    void startWriter(QProcess &writer)
    {
        writer.start(QCoreApplication::applicationFilePath(),
                     {QLatin1String(KeepWritingOption), m_path});
        QVERIFY(writer.waitForStarted());
    }

    QStringList files() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_path;
    Topology m_store; // the file operations are members; any object serves
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], KeepWritingOption) == 0)
        return keepWriting(QString::fromLocal8Bit(argv[2]));
    model_topology_paramTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "model_topology_paramtest.moc"
