#include <model/topology/model_topology_param.h>

#include <QtTest/QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
// The oversized-container file must meet a failed allocation, as in a normal build, not an abort.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}
#endif

using Topology = model_topology_param;

namespace {

QStringList s_messages;
QtMessageHandler s_previousHandler = nullptr;

QJsonArray json(const char *text)
{
    return QJsonDocument::fromJson(text).array();
}

// Every file and directory below dir, by relative path, with the files' contents.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        entries.insert(QDir(dir).relativeFilePath(file.fileName()),
                       file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return entries;
}

} // namespace

class model_topology_paramTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void defaultsAndCopies();
    void layout();
    void roundTrip_data();
    void roundTrip();
    void readsLatestWrite();
    void emptyPathAndMissingFile();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void damagedFile_data();
    void damagedFile();

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QString m_path;
};

void model_topology_paramTest::initTestCase()
{
    s_previousHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            s_messages.append(text);
            s_previousHandler(type, context, text);
        });
}

void model_topology_paramTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("topology.ini"));
    s_messages.clear();
}

// The library's log output is part of its interface, and the file operations add nothing to it.
void model_topology_paramTest::cleanup()
{
    QVERIFY2(s_messages.isEmpty(), qPrintable(s_messages.join(QLatin1Char('\n'))));
}

void model_topology_paramTest::defaultsAndCopies()
{
    Topology t;
    const int values[] = {t.m_value1, t.m_value2, t.m_value3, t.m_value4, t.m_word1,
                          t.m_word2,  t.m_word3,  t.m_word4,  t.m_word5};
    QCOMPARE(QVector<int>(std::begin(values), std::end(values)),
             QVector<int>({1, 0, 0, 0, 0, 0, 0, 0, 0}));
    QVERIFY(std::all_of(std::begin(t.m_slotValuesA), std::end(t.m_slotValuesA),
                        [](int v) { return v == -1; }));
    QVERIFY(std::all_of(std::begin(t.m_slotValuesB), std::end(t.m_slotValuesB),
                        [](int v) { return v == -1; }));
    QVERIFY(std::all_of(std::begin(t.m_slotTextsB), std::end(t.m_slotTextsB),
                        [](const QString &s) { return s.isEmpty(); }));

    t.m_slotTextsB[255] = QStringLiteral("a");
    Topology copy = t;
    copy.m_slotTextsB[255].append(QLatin1Char('b'));
    copy.m_slotValuesA[0] = 5;
    QCOMPARE(t.m_slotTextsB[255], QStringLiteral("a"));
    QCOMPARE(t.m_slotValuesA[0], -1);
    QCOMPARE(Topology(copy).m_slotTextsB[255], QStringLiteral("ab"));
}

// Natural layout: each field starts at the end of the one before, rounded up to its alignment.
void model_topology_paramTest::layout()
{
    const Topology t;
    const auto at = [&t](const void *field) {
        return int(static_cast<const char *>(field) - reinterpret_cast<const char *>(&t));
    };
    struct Field
    {
        int offset, width, align;
    };
    // clang-format off
    const Field fields[] = {
        // offset               width align
        {at(&t.m_text1),        8,    8}, {at(&t.m_word1),  4, 4}, {at(&t.m_text2),  8, 8},
        {at(&t.m_text3),        8,    8}, {at(&t.m_value1), 4, 4}, {at(&t.m_word2),  4, 4},
        {at(&t.m_text4),        8,    8}, {at(&t.m_text5),  8, 8}, {at(&t.m_text6),  8, 8},
        {at(&t.m_word3),        4,    4}, {at(&t.m_value2), 4, 4}, {at(&t.m_value3), 4, 4},
        {at(&t.m_value4),       4,    4}, {at(&t.m_word4),  4, 4}, {at(&t.m_word5),  4, 4},
        {at(&t.m_slotValuesA),  1024, 4}, {at(&t.m_slotValuesB), 1024, 4},
        {at(&t.m_slotTextsA),   2048, 8}, {at(&t.m_slotTextsB),  2048, 8}, {at(&t.m_text7), 8, 8},
    };
    // clang-format on
    int end = 0;
    for (const Field &field : fields) {
        const int offset = (end + field.align - 1) / field.align * field.align;
        QCOMPARE(field.offset, offset);
        end = offset + field.width;
    }
    QCOMPARE(int(sizeof(Topology)), (end + 7) / 8 * 8);
}

void model_topology_paramTest::roundTrip_data()
{
    QTest::addColumn<QJsonArray>("written");
    QTest::addColumn<QJsonArray>("read");

    QJsonArray twelve;
    QJsonArray twelveRead;
    for (int i = 0; i < 12; ++i) {
        twelve.append(QJsonObject{{QStringLiteral("index"), i}});
        twelveRead.append(QJsonObject{{QStringLiteral("index"), QString::number(i)}});
    }
    QTest::newRow("sections by number past 9") << twelve << twelveRead;
    QTest::newRow("values become text")
        << json(R"([{"s": "text", "n": 5, "f": 0.5, "e": 1e20, "neg": -3, "t": true, "no": false,
                     "null": null, "list": [1, "a"], "one": [5], "none": [], "obj": {"k": 1}}])")
        << json(R"([{"s": "text", "n": "5", "f": "0.5", "e": "1e+20", "neg": "-3", "t": "true",
                     "no": "false", "null": "", "list": "", "one": "", "none": "", "obj": ""}])");
    QTest::newRow("empty middle module")
        << json(R"([{"a": 1}, {}, {"b": 2}])") << json(R"([{"a": "1"}, {}])");
    QTest::newRow("non-objects") << json(R"([{"a": 1}, 7, "x", {"b": 2}])")
                                 << json(R"([{"a": "1"}, {}])");
    QTest::newRow("empty first module") << json(R"([{}, {"a": 1}])") << json("[{}]");
    QTest::newRow("empty array") << QJsonArray() << QJsonArray();
    QTest::newRow("nothing to store") << json(R"([{}, 1, [], {"": 1}])") << QJsonArray();
    QTest::newRow("sub-keys") << json(R"([{"a": "x", "a/b": "y", "a/b/c": "z"}])")
                              << json(R"([{"a": "x", "a/b": "y", "a/b/c": "z"}])");
    QTest::newRow("slashes collapse") << json(R"([{"/a": 1, "b//c/": 2, "d": 3}])")
                                      << json(R"([{"a": "1", "b/c": "2", "d": "3"}])");
    QTest::newRow("keys without a name")
        << json(R"([{"": 1, "/": 2, "//": 3, "k": 4}])") << json(R"([{"k": "4"}])");
    QTest::newRow("outside the BMP") << json(R"([{"v": "a\ud83d\ude00b", "\ud83d\ude00": "c"}])")
                                     << json(R"([{"v": "ab", "\ud83d\ude00": "c"}])");
    QTest::newRow("lone surrogate")
        << json(R"([{"v": "a\ud800b", "\ud800": "c"}])") << json(R"([{"v": "ab", "\ud800": "c"}])");

    // Text that survives unchanged as a key and as a value.
    // clang-format off
    for (const char *text : {"a=b", "a;b", ";a", "a,b", "a, b", "#a", "[a]", "]", "a\\b", "\\",
                             "\\x41", "a/b", "\"a\"", "'a'", "a\nb", "a\r\nb", "\t", "\001A",
                             "  a  ", " ", "@a", "@@", "@Invalid()", "@Variant(a)", "%U0041",
                             "%41", "General", u8"Grüße 日本"}) {
        const QJsonArray modules{QJsonObject{{QString::fromUtf8(text), QStringLiteral("key")},
                                             {QStringLiteral("v"), QString::fromUtf8(text)}}};
        QTest::addRow("%s", QByteArray(text).toPercentEncoding(" ").constData()) << modules << modules;
    }
    // clang-format on
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("NUL") << QJsonArray{QJsonObject{{nul, nul}}}
                         << QJsonArray{QJsonObject{{nul, nul}}};
}

// Every row replaces a longer file that was read before, so stale or merged sections show up.
void model_topology_paramTest::roundTrip()
{
    QFETCH(QJsonArray, written);
    QFETCH(QJsonArray, read);
    QJsonArray previous;
    for (int i = 0; i < 13; ++i)
        previous.append(QJsonObject{{QStringLiteral("previous"), i}, {QStringLiteral("v"), i}});
    Topology::setTPLYModuleData(m_path, previous);
    QCOMPARE(Topology::getTPLYModuleData(m_path).size(), 13);

    Topology::setTPLYModuleData(m_path, written);
    QCOMPARE(Topology::getTPLYModuleData(m_path), read);
    // An array with nothing to store leaves no file, and no write leaves a temporary one behind.
    QCOMPARE(snapshot(m_dir->path()).keys(),
             read.isEmpty() ? QStringList() : QStringList{QStringLiteral("topology.ini")});
}

// The settings store trusts its parsed copy of a file for as long as the size and modification
// time stay the same, and versions written within one clock tick share a time. Times are set by
// hand here to make that tick certain.
void model_topology_paramTest::readsLatestWrite()
{
    const auto setTime = [this](const QDateTime &time) {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    const QDateTime later = QDateTime::currentDateTime().addSecs(3600);
    Topology::setTPLYModuleData(m_path, json(R"([{"v": 1}])"));
    setTime(later);
    QCOMPARE(Topology::getTPLYModuleData(m_path), json(R"([{"v": "1"}])"));
    Topology::setTPLYModuleData(m_path, json(R"([{"v": 2}])"));
    QVERIFY(QFileInfo(m_path).lastModified() > later);
    QCOMPARE(Topology::getTPLYModuleData(m_path), json(R"([{"v": "2"}])"));

    // Removed and written again: the new file may well get the time of the removed one.
    const QDateTime removedTime = QFileInfo(m_path).lastModified();
    Topology::setTPLYModuleData(m_path, QJsonArray());
    Topology::setTPLYModuleData(m_path, json(R"([{"v": 3}])"));
    setTime(removedTime);
    QCOMPARE(Topology::getTPLYModuleData(m_path), json(R"([{"v": "3"}])"));
}

void model_topology_paramTest::emptyPathAndMissingFile()
{
    Topology::setTPLYModuleData(m_path, json(R"([{"a": 1}])"));
    const auto before = snapshot(m_dir->path());
    Topology::setTPLYModuleData(QString(), QJsonArray());
    Topology::setTPLYModuleData(QString(), json(R"([{"b": 2}])"));
    QCOMPARE(Topology::getTPLYModuleData(QString()), QJsonArray());
    const QString missing = m_dir->filePath(QStringLiteral("sub/missing.ini"));
    QCOMPARE(Topology::getTPLYModuleData(missing), QJsonArray());
    QCOMPARE(snapshot(m_dir->path()), before);

    // Writing creates missing directories, as the settings store does.
    Topology::setTPLYModuleData(missing, json(R"([{"a": 1}])"));
    QCOMPARE(Topology::getTPLYModuleData(missing), json(R"([{"a": "1"}])"));
}

void model_topology_paramTest::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("limitFileSize");
    QTest::newRow("target is a directory") << QStringLiteral("dir") << false;
    QTest::newRow("parent is a file") << QStringLiteral("topology.ini/sub.ini") << false;
#ifdef Q_OS_UNIX
    // Permission bits do not stop root; a file size limit stops everyone in the middle of a write.
    QTest::newRow("write cut short") << QStringLiteral("topology.ini") << true;
#endif
}

void model_topology_paramTest::failedWriteKeepsOldFile()
{
    QFETCH(QString, target);
    QFETCH(bool, limitFileSize);
    Topology::setTPLYModuleData(m_path, json(R"([{"old": 1}])"));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("dir/inside")));
    const auto before = snapshot(m_dir->path());
    QJsonArray modules;
    for (int i = 0; i < 1000; ++i)
        modules.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("module %1").arg(i)}});

#ifdef Q_OS_UNIX
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = limitFileSize ? 4096 : saved.rlim_cur;
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
#endif
    Topology::setTPLYModuleData(m_dir->filePath(target), modules);
#ifdef Q_OS_UNIX
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
#endif
    QCOMPARE(snapshot(m_dir->path()), before);
    QCOMPARE(Topology::getTPLYModuleData(m_path), json(R"([{"old": "1"}])"));
}

void model_topology_paramTest::damagedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVariant>("read"); // no value: whatever the store makes of it
    QTest::newRow("cut in a section name")
        << QByteArray("[0]\na=1\n[1") << QVariant(json(R"([{"a": "1"}])"));
    QTest::newRow("cut in a quote")
        << QByteArray("[0]\na=\"x\n[1]\nb=1\n") << QVariant(json(R"([{"a": "x\n[1]\nb=1\n"}])"));
    QTest::newRow("odd section names") << QByteArray("[00]\na=1\n[-1]\nb=2\n[ 1 ]\nc=3\n[0]\nd=4\n")
                                       << QVariant(json(R"([{"d": "4"}, {"c": "3"}, {}, {}])"));
    QTest::newRow("lines outside sections or keys")
        << QByteArray("top=1\n[General]\ng=1\n[0]\n=x\nnoequals\n;c=1\na=1\n")
        << QVariant(json(R"([{"a": "1"}])"));
    QTest::newRow("repeated and nested sections")
        << QByteArray("[0/s]\nk=v\n[0]\na=1\n[0]\nb=2\n")
        << QVariant(json(R"([{"a": "1", "b": "2", "s/k": "v"}])"));
    QTest::newRow("invalid UTF-8")
        << QByteArray("[0]\na=x\xff\xfey\n") << QVariant(json(R"([{"a": "x\ufffd\ufffdy"}])"));
    // A list of 2^31 - 1 elements in the store's binary form, then a good section.
    QTest::newRow("oversized container")
        << QByteArray("[0]\na=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n[1]\nb=1\n")
        << QVariant(QJsonArray());
    const QByteArray huge(4 << 20, 'x');
    QTest::newRow("huge line") << QByteArray("[0]\nk=" + huge)
                               << QVariant(QJsonArray{
                                      QJsonObject{{QStringLiteral("k"), QString(huge)}}});
    QByteArray garbage(1 << 20, '\0');
    quint32 seed = 1;
    for (char &c : garbage)
        c = char((seed = seed * 1103515245u + 12345u) >> 24);
    QTest::newRow("binary garbage") << garbage << QVariant();
}

void model_topology_paramTest::damagedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVariant, read);
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const QJsonArray modules = Topology::getTPLYModuleData(m_path);
    if (read.isValid())
        QCOMPARE(modules, read.toJsonArray());
    QCOMPARE(snapshot(m_dir->path()),
             (QMap<QString, QByteArray>{{QStringLiteral("topology.ini"), bytes}}));
}

QTEST_GUILESS_MAIN(model_topology_paramTest)
#include "model_topology_paramtest.moc"
