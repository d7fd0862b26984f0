#include <model/topology/model_topology_param.h>

#include "memberlayout.h"

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

static QJsonArray json(const char *text)
{
    return QJsonDocument::fromJson(text).array();
}

class model_topology_paramTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void defaults();
    void layout_data();
    void layout() { checkLayoutRow(); }
    void roundTrip_data();
    void roundTrip();
    void readsLatestWrite();
    void emptyPathAndMissingFile();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void damagedFile_data();
    void damagedFile();

private:
    QStringList files() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_path;
};

void model_topology_paramTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("topology.ini"));
}

void model_topology_paramTest::defaults()
{
    const Topology t;
    QCOMPARE((QVector<int>{t.m_value1, t.m_value2, t.m_value3, t.m_value4}),
             (QVector<int>{1, 0, 0, 0}));
    for (int i = 0; i < Topology::SlotCount; ++i)
        QVERIFY(t.m_slotValuesA[i] == -1 && t.m_slotValuesB[i] == -1);
}

// Natural layout, written out: the only padding is the four bytes that bring m_text2 to 16.
void model_topology_paramTest::layout_data()
{
    addLayoutColumns();
    using T = Topology;
    constexpr int Slots = Topology::SlotCount;
    // clang-format off
    const LayoutMember<T> members[] = {
        LAYOUT_MEMBER(T, m_text1, Handle), LAYOUT_MEMBER(T, m_word1, 4),
        {"(padding)", 4, 4, [](const T &t) { return reinterpret_cast<const char *>(&t.m_word1) + 4; }},
        LAYOUT_MEMBER(T, m_text2, Handle), LAYOUT_MEMBER(T, m_text3, Handle),
        LAYOUT_MEMBER(T, m_value1, 4), LAYOUT_MEMBER(T, m_word2, 4),
        LAYOUT_MEMBER(T, m_text4, Handle), LAYOUT_MEMBER(T, m_text5, Handle),
        LAYOUT_MEMBER(T, m_text6, Handle), LAYOUT_MEMBER(T, m_word3, 4),
        LAYOUT_MEMBER(T, m_value2, 4), LAYOUT_MEMBER(T, m_value3, 4), LAYOUT_MEMBER(T, m_value4, 4),
        LAYOUT_MEMBER(T, m_word4, 4), LAYOUT_MEMBER(T, m_word5, 4),
        LAYOUT_MEMBER(T, m_slotValuesA, Slots * 4), LAYOUT_MEMBER(T, m_slotValuesB, Slots * 4),
        LAYOUT_MEMBER(T, m_slotTextsA, Slots * Handle), LAYOUT_MEMBER(T, m_slotTextsB, Slots * Handle),
        LAYOUT_MEMBER(T, m_text7, Handle),
    };
    // clang-format on
    addLayoutRows("model_topology_param", members, 0, Packing::Packed);
}

void model_topology_paramTest::roundTrip_data()
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
    QTest::newRow("nothing to store") << json(R"([{}, 1, {"": 1, "/": 2}])") << QJsonArray();
    // Text that comes back unchanged, as a key and as a value.
    for (const char *text : {"a=b", ";a", "#a", "[a]", "a\\b", "a\nb", "  a  ", "@Variant(a)",
                             "General", u8"Grüße 日本"}) {
        const QJsonArray modules{QJsonObject{{QString::fromUtf8(text), QStringLiteral("key")},
                                             {QStringLiteral("v"), QString::fromUtf8(text)}}};
        QTest::addRow("%s", QByteArray(text).toPercentEncoding(" ").constData())
            << modules << modules;
    }
}

// Every row replaces a longer file that was read before, so stale or merged sections show up.
void model_topology_paramTest::roundTrip()
{
    QFETCH(QJsonArray, written);
    QFETCH(QJsonArray, read);
    QJsonArray previous;
    for (int i = 0; i < 13; ++i)
        previous.append(QJsonObject{{QStringLiteral("i"), i}, {QStringLiteral("v"), i}});
    Topology::setTPLYModuleData(m_path, previous);
    QCOMPARE(Topology::getTPLYModuleData(m_path).size(), 13);
    Topology::setTPLYModuleData(m_path, written);
    QCOMPARE(Topology::getTPLYModuleData(m_path), read);
    // An array with nothing to store leaves no file, and no write leaves a temporary one behind.
    QCOMPARE(files(), read.isEmpty() ? QStringList() : QStringList{QStringLiteral("topology.ini")});
}

// The settings store trusts its parsed copy of a file for as long as the size and modification
// time stay the same, and versions written within one clock tick share a time. Times are set by
// hand here to make that tick certain.
void model_topology_paramTest::readsLatestWrite()
{
    const auto setTime = [this](const QDateTime &time) {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadWrite)
                && file.setFileTime(time, QFileDevice::FileModificationTime));
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
    Topology::setTPLYModuleData(QString(), json(R"([{"a": 1}])"));
    QCOMPARE(Topology::getTPLYModuleData(QString()), QJsonArray());
    const QString missing = m_dir->filePath(QStringLiteral("sub/missing.ini"));
    QCOMPARE(Topology::getTPLYModuleData(missing), QJsonArray());
    QCOMPARE(files(), QStringList());
}

void model_topology_paramTest::failedWriteKeepsOldFile_data()
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

// A write cut short by the file size limit (which, unlike permission bits, stops root too) leaves
// the old file as it was, and no temporary file behind.
void model_topology_paramTest::failedWriteKeepsOldFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#else
    QFETCH(QJsonArray, modules);
    Topology::setTPLYModuleData(m_path, json(R"([{"old": 1}])"));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    Topology::setTPLYModuleData(m_path, modules);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});
    QCOMPARE(Topology::getTPLYModuleData(m_path), json(R"([{"old": "1"}])"));
#endif
}

void model_topology_paramTest::damagedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QJsonArray>("read");
    QTest::newRow("cut in a section name") << QByteArray("[0]\na=1\n[1") << json(R"([{"a": "1"}])");
    QTest::newRow("odd section names") << QByteArray("[00]\na=1\n[-1]\nb=2\n[ 1 ]\nc=3\n[0]\nd=4\n")
                                       << json(R"([{"d": "4"}, {"c": "3"}, {}, {}])");
    QTest::newRow("lines outside sections or keys")
        << QByteArray("top=1\n[General]\ng=1\n[0]\n=x\nnoequals\n;c=1\na=1\n")
        << json(R"([{"a": "1"}])");
    // A list of 2^31 - 1 elements in the store's binary form, then a good section.
    QTest::newRow("oversized container")
        << QByteArray("[0]\na=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n[1]\nb=1\n")
        << QJsonArray();
}

// Read as far as the store can, and left as it was.
void model_topology_paramTest::damagedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QJsonArray, read);
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size() && file.flush());
    QCOMPARE(Topology::getTPLYModuleData(m_path), read);
    QVERIFY(file.seek(0) && file.readAll() == bytes);
    QCOMPARE(files(), QStringList{QStringLiteral("topology.ini")});
}

QTEST_GUILESS_MAIN(model_topology_paramTest)
#include "model_topology_paramtest.moc"
