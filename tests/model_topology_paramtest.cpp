#include <model/topology/model_topology_param.h>

#include "memberlayout.h"

#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using Topology = model_topology_param;
using Layout = Topology;
constexpr int Slots = Topology::SlotCount;

// Natural layout: the only padding is the four bytes that bring m_text2 to 16.
// clang-format off
const LayoutMember<Layout> s_members[] = {
    LAYOUT(m_text1, Handle), LAYOUT(m_word1, 4), LAYOUT(m_text2, Handle), LAYOUT(m_text3, Handle),
    LAYOUT(m_value1, 4), LAYOUT(m_word2, 4), LAYOUT(m_text4, Handle), LAYOUT(m_text5, Handle),
    LAYOUT(m_text6, Handle), LAYOUT(m_word3, 4), LAYOUT(m_value2, 4), LAYOUT(m_value3, 4),
    LAYOUT(m_value4, 4), LAYOUT(m_word4, 4), LAYOUT(m_word5, 4), LAYOUT(m_slotValuesA, Slots * 4),
    LAYOUT(m_slotValuesB, Slots * 4), LAYOUT(m_slotTextsA, Slots * Handle),
    LAYOUT(m_slotTextsB, Slots * Handle), LAYOUT(m_text7, Handle),
};
// clang-format on

static QJsonArray json(const char *text)
{
    return QJsonDocument::fromJson(text).array();
}

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
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
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

    void defaults()
    {
        const Topology t;
        QCOMPARE((QVector<int>{t.m_value1, t.m_value2, t.m_value3, t.m_value4}),
                 (QVector<int>{1, 0, 0, 0}));
        for (int i = 0; i < Slots; ++i)
            QVERIFY(t.m_slotValuesA[i] == -1 && t.m_slotValuesB[i] == -1);
    }

    void layout_data() { addLayoutTable("model_topology_param", s_members); }
    void layout() { checkLayoutRow(); }

    void roundTrip_data()
    {
        QTest::addColumn<QJsonArray>("written");
        QTest::addColumn<QJsonArray>("read");
        QJsonArray twelve;
        for (int i = 0; i < 12; ++i)
            twelve.append(QJsonObject{{QStringLiteral("i"), QString::number(i)}});
        QTest::newRow("sections by number past 9") << twelve << twelve;
        QTest::newRow("values become text")
            << json(R"([{"s": "x", "n": 5, "f": 0.5, "t": true, "null": null, "list": [1]}])")
            << json(R"([{"s": "x", "n": "5", "f": "0.5", "t": "true", "null": "", "list": ""}])");
        QTest::newRow("empty and non-object modules")
            << json(R"([{"a": 1}, 7, {}, {"b": 2}])") << json(R"([{"a": "1"}, {}])");
        QTest::newRow("nothing to store") << json(R"([{}, 1, {"": 1}])") << QJsonArray();
        // Such a key names the section's nameless entry; the module keeps its other members.
        QTest::newRow("keys made only of slashes")
            << json("[{\"/\": \"x\", \"a\": 1, \"\": 0}, {\"/\\/\": 2}]")
            << json(R"([{"": "x", "a": "1"}, {"": "2"}])");
        // Text of the INI syntax, a line break and non-ASCII text, as keys and as values.
        const QJsonArray special
            = json(R"([{"a=b": "[a]", ";a": "a\nb", "a\nb": "Grüße 日本", "Grüße 日本": "a=b"}])");
        QTest::newRow("special characters") << special << special;
    }

    // Every row replaces a longer file that was read before, so stale or merged sections show up.
    void roundTrip()
    {
        QFETCH(QJsonArray, written);
        QFETCH(QJsonArray, read);
        m_store.setTPLYModuleData(m_path, json(R"([{"i": 0, "a": 0}, {"v": 1}, {"v": 2}])"));
        QCOMPARE(m_store.getTPLYModuleData(m_path).size(), 3);
        m_store.setTPLYModuleData(m_path, written);
        QCOMPARE(m_store.getTPLYModuleData(m_path), read);
        // An array with nothing to store leaves no file, and no write leaves a temporary one.
        QCOMPARE(files(),
                 read.isEmpty() ? QStringList() : QStringList{QStringLiteral("topology.ini")});
    }

    // The settings store trusts its parsed copy of a file for as long as the size and modification
    // time stay the same, and a file removed and written again may well get the removed one's time.
    void readsLatestWrite()
    {
        m_store.setTPLYModuleData(m_path, json(R"([{"v": 1}])"));
        QCOMPARE(m_store.getTPLYModuleData(m_path), json(R"([{"v": "1"}])"));
        const QDateTime removedTime = QFileInfo(m_path).lastModified();
        m_store.setTPLYModuleData(m_path, QJsonArray());
        m_store.setTPLYModuleData(m_path, json(R"([{"v": 2}])"));
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadWrite)
                && file.setFileTime(removedTime, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(m_store.getTPLYModuleData(m_path), json(R"([{"v": "2"}])"));
    }

    void emptyPathAndMissingFile()
    {
        m_store.setTPLYModuleData(QString(), json(R"([{"a": 1}])"));
        QCOMPARE(m_store.getTPLYModuleData(QString()), QJsonArray());
        const QString missing = m_dir->filePath(QStringLiteral("sub/missing.ini"));
        QCOMPARE(m_store.getTPLYModuleData(missing), QJsonArray());
        QCOMPARE(files(), QStringList());
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QJsonArray>("modules");
        QJsonArray many;
        for (int i = 0; i < 1000; ++i)
            many.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("module %1").arg(i)}});
        QTest::newRow("many modules") << many;
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

    // Lines outside a section or without a key: read as far as the store can, and left as they
    // were.
    void damagedFile()
    {
        const QByteArray bytes("top=1\n[General]\ng=1\n[0]\n=x\nnoequals\n;c=1\na=1\n");
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size()
                && file.flush());
        QCOMPARE(m_store.getTPLYModuleData(m_path), json(R"([{"": "x", "a": "1"}])"));
        QVERIFY(file.seek(0) && file.readAll() == bytes);
    }

    // A read returns what the file holds, even when another process replaced it with a version of
    // the same size and modification time as the one read before.
    void readsWhatTheFileHolds()
    {
        Topology store;
        store.setTPLYModuleData(m_path, json(R"([{"v": "a"}])"));
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"v": "a"}])"));
        const QDateTime time = QFileInfo(m_path).lastModified();
        QByteArray bytes = readAll(m_path);
        bytes.replace("v=a", "v=b");
        QFile file(m_path);
        QVERIFY(writeFile(m_path, bytes) && file.open(QIODevice::ReadWrite)
                && file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"v": "b"}])"));
    }

    // Values that the settings store would decode, by recursion, from its binary form.
    void nestedValues_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("read");
        const QByteArray deepList
            = "@Variant(" + QByteArray("\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(40000) + ")";
        QTest::newRow("list nested 40000 deep") << deepList << QString();
        QTest::newRow("in quotes") << "\"" + deepList + "\"" << QString();
        QTest::newRow("in a list") << "a, " + deepList << QString();
        QTest::newRow("'@' escaped") << "\\x40" + deepList.mid(1) << QString();
        QTest::newRow("date form") << "@DateTime(" + deepList.mid(9) << QString();
        QTest::newRow("map") << QByteArray("@Variant(\\0\\0\\0\\b\\0\\0\\0\\0)") << QString();
        // A variant of a plain type is text.
        QTest::newRow("text") << QByteArray("@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)")
                              << QStringLiteral("hi");
        QTest::newRow("number") << QByteArray("@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)")
                                << QStringLiteral("5");
    }

    // Such a value reads as empty text, also on a small stack, and costs nothing else in the file.
    void nestedValues()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, read);
        QVERIFY(writeFile(m_path, "[0]\nname=left\nvalue=" + value + "\n[1]\nname=right\n"));
        QJsonArray modules;
        onSmallStack([&] { modules = Topology().getTPLYModuleData(m_path); });
        QCOMPARE(modules,
                 (QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("left")},
                                         {QStringLiteral("value"), read}},
                             QJsonObject{{QStringLiteral("name"), QStringLiteral("right")}}}));
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

    // Both writes follow a link to the file it names: an empty array removes that file and leaves
    // the link.
    void followsLinks()
    {
        const QString target = m_dir->filePath(QStringLiteral("real.ini"));
        QVERIFY(QFile::link(target, m_path));
        Topology store;
        store.setTPLYModuleData(m_path, json(R"([{"a": 1}])"));
        QVERIFY(QFileInfo(m_path).isSymLink());
        QCOMPARE(store.getTPLYModuleData(target), json(R"([{"a": "1"}])"));
        store.setTPLYModuleData(m_path, QJsonArray());
        QVERIFY(QFileInfo(m_path).isSymLink());
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(store.getTPLYModuleData(m_path), QJsonArray());
        store.setTPLYModuleData(m_path, json(R"([{"b": 2}])"));
        QCOMPARE(store.getTPLYModuleData(target), json(R"([{"b": "2"}])"));
    }

    // Whatever is not a regular file is left alone by both writes, and reads as empty.
    void leavesOtherFilesAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory") << QStringLiteral("directory");
#ifdef Q_OS_UNIX
        QTest::newRow("pipe") << QStringLiteral("pipe");
        QTest::newRow("link to a pipe") << QStringLiteral("link");
#endif
    }

    void leavesOtherFilesAlone()
    {
        QFETCH(QString, kind);
        const QString pipe = m_dir->filePath(QStringLiteral("pipe"));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkpath(m_path));
        } else {
#ifdef Q_OS_UNIX
            QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
            QVERIFY(kind == QLatin1String("link") ? QFile::link(pipe, m_path)
                                                  : QFile::rename(pipe, m_path));
#endif
        }
        const QStringList before = files();
        Topology store;
        for (const QJsonArray &modules : {json(R"([{"a": 1}])"), QJsonArray()}) {
            store.setTPLYModuleData(m_path, modules);
            QCOMPARE(files(), before);
            QVERIFY(!QFileInfo(m_path).isFile());
            QCOMPARE(store.getTPLYModuleData(m_path), QJsonArray());
        }
    }

#ifdef Q_OS_UNIX
    // Writers killed at any moment leave the file complete, and the next write removes what they
    // left; it never touches the files of a writer that is still running, even a stopped one.
    void killedWriters()
    {
        Topology store;
        store.setTPLYModuleData(m_path, json(R"([{"first": 1}])"));
        const auto isComplete = [&] {
            const QJsonArray modules = store.getTPLYModuleData(m_path);
            return modules == json(R"([{"first": "1"}])") || modules.size() == 2000;
        };
        for (int round = 0; round < 12; ++round) {
            QProcess writer;
            startWriter(writer);
            QThread::msleep(20 + 15 * (round % 5));
            writer.kill();
            QVERIFY(writer.waitForFinished());
            QVERIFY(isComplete());
        }

        // A stopped writer is alive: its files stay through another write.
        QProcess writer;
        QStringList scratch;
        const QDeadlineTimer deadline(60000);
        for (int attempt = 0; scratch.isEmpty() && !deadline.hasExpired(); ++attempt) {
            if (writer.state() == QProcess::NotRunning)
                startWriter(writer);
            QThread::msleep(attempt % 10);
            ::kill(pid_t(writer.processId()), SIGSTOP);
            scratch = writerFilesOf(writer.processId());
            if (scratch.isEmpty())
                ::kill(pid_t(writer.processId()), SIGCONT);
        }
        QVERIFY(!scratch.isEmpty());
        store.setTPLYModuleData(m_path, json(R"([{"second": 2}])"));
        const QStringList after = files();
        for (const QString &file : qAsConst(scratch))
            QVERIFY2(after.contains(file), qPrintable(file));
        writer.kill();
        QVERIFY(writer.waitForFinished());

        store.setTPLYModuleData(m_path, json(R"([{"third": 3}])"));
        QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});
        QCOMPARE(store.getTPLYModuleData(m_path), json(R"([{"third": "3"}])"));
    }
#endif

private:
    void startWriter(QProcess &writer)
    {
        writer.start(QCoreApplication::applicationFilePath(),
                     {QLatin1String(KeepWritingOption), m_path});
        QVERIFY(writer.waitForStarted());
    }

    // The files beside the topology file whose writer's lock names process pid.
    QStringList writerFilesOf(qint64 pid) const
    {
        QStringList owned;
        for (const QString &file : files()) {
            if (!file.endsWith(QLatin1String(".lock")) || file.count(QLatin1Char('.')) != 3)
                continue;
            qint64 owner = 0;
            QString host;
            QString application;
            QLockFile lock(m_dir->filePath(file));
            if (!lock.getLockInfo(&owner, &host, &application) || owner != pid)
                continue;
            const QString prefix = file.left(file.size() - 4);
            for (const QString &other : files()) {
                if (other.startsWith(prefix))
                    owned.append(other);
            }
        }
        return owned.size() > 1 ? owned : QStringList();
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
