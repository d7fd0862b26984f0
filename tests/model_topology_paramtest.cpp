#include <model/topology/model_topology_param.h>

#include "memberlayout.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
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
        QTest::newRow("nothing to store") << json(R"([{}, 1, {"": 1, "/": 2}])") << QJsonArray();
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
        QCOMPARE(m_store.getTPLYModuleData(m_path), json(R"([{"a": "1"}])"));
        QVERIFY(file.seek(0) && file.readAll() == bytes);
    }

private:
    QStringList files() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_path;
    Topology m_store; // the file operations are members; any object serves
};

QTEST_GUILESS_MAIN(model_topology_paramTest)
#include "model_topology_paramtest.moc"
