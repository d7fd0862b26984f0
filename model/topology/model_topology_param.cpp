#include "model_topology_param.h"

#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonObject>
#include <QtCore/QSaveFile>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryFile>
#include <QtCore/QVariant>

#include <algorithm>
#include <iterator>
#include <new>
#include <vector>

namespace {

// The topology file is UTF-8 text: Qt 6 reads and writes every INI file so, Qt 5 must be told.
void useUtf8(QSettings &settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec("UTF-8");
#else
    Q_UNUSED(settings)
#endif
}

// The settings store reads '/' as the separator of sub-keys and drops the empty parts, so a key
// made only of slashes names no entry: it would come out as a line without a key.
bool isStorableKey(const QString &key)
{
    return std::any_of(key.cbegin(), key.cend(), [](QChar c) { return c != QLatin1Char('/'); });
}

bool hasStorableEntry(const QJsonArray &modules)
{
    for (const QJsonValue &module : modules) {
        const QJsonObject object = module.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (isStorableKey(it.key()))
                return true;
        }
    }
    return false;
}

// Writes the modules as one section each into the settings file at path, which is empty, and
// gives the keys the store now holds ("0/name", ...). An empty list means the write failed.
QStringList writeSections(const QString &path, const QJsonArray &modules)
{
    QSettings settings(path, QSettings::IniFormat);
    useUtf8(settings);
    for (int i = 0; i < modules.size(); ++i) {
        const QJsonObject module = modules.at(i).toObject();
        settings.beginGroup(QString::number(i));
        for (auto it = module.constBegin(); it != module.constEnd(); ++it) {
            // Each call of key() converts the stored key into a new string.
            const QString key = it.key();
            if (isStorableKey(key))
                settings.setValue(key, it.value().toVariant());
        }
        settings.endGroup();
    }
    settings.sync();
    return settings.status() == QSettings::NoError ? settings.allKeys() : QStringList();
}

// A full disk or a file size limit can cut the store's output short without the store noticing.
// The staged file is complete when it ends with a whole line and, parsed afresh from the disk,
// holds every key that was written. It is parsed under a name the store has never seen, since
// the store trusts its own parsed copy of a file it wrote. The staged file moves to that name.
bool stagedCompletely(QTemporaryFile &staged, const QByteArray &text,
                      const QStringList &writtenKeys, QTemporaryFile &verified)
{
    if (!text.endsWith('\n') || !verified.open())
        return false;
    verified.close();
    if (!QFile::remove(verified.fileName())
        || !QFile::rename(staged.fileName(), verified.fileName()))
        return false;
    QSettings settings(verified.fileName(), QSettings::IniFormat);
    useUtf8(settings);
    // Both lists come out of the store in its own key order.
    return settings.status() == QSettings::NoError && settings.allKeys() == writtenKeys;
}

// The settings store keeps a parsed copy of every file it has read in this process and trusts it
// for as long as the file's size and modification time stay the same. Two versions of a file
// written within one tick of the file system clock can agree on both, and a reader would then be
// handed the older one. So every version gets a modification time later than the one it replaces,
// and when there is no file to replace, the store is made to forget what it may still hold for
// the path: a settings object opened on a missing file drops the parsed copy.
void forgetParsedCopy(const QString &path)
{
    QSettings settings(path, QSettings::IniFormat);
}

void keepLaterThan(QSaveFile &file, const QDateTime &replaced)
{
    if (file.fileTime(QFileDevice::FileModificationTime) <= replaced)
        file.setFileTime(replaced.addMSecs(1), QFileDevice::FileModificationTime);
}

// The keys of one section of the store: keys[firstKey] up to, not including, keys[endKey].
struct Section
{
    QStringView name;
    int firstKey;
    int endKey;
};

// The sections of keys, a sorted list of every key of the store, in order. A key without '/'
// belongs to no section.
std::vector<Section> sectionsOf(const QStringList &keys)
{
    std::vector<Section> sections;
    for (int k = 0; k < keys.size(); ++k) {
        const QString &key = keys.at(k);
        const int slash = key.indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;
        const QStringView name = QStringView(key).left(slash);
        if (!sections.empty() && sections.back().endKey == k && sections.back().name == name)
            ++sections.back().endKey;
        else
            sections.push_back({name, k, k + 1});
    }
    return sections;
}

// The number a section name stands for when the name is that number's decimal text, as
// QString::number() writes it ("7", not "07" or "+7"); -1 for any other name.
int sectionNumber(QStringView name)
{
    if (name.isEmpty() || name.size() > 9 || (name.size() > 1 && name.front() == QLatin1Char('0')))
        return -1;
    int number = 0;
    for (QChar c : name) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        number = number * 10 + (c.unicode() - '0');
    }
    return number;
}

} // namespace

model_topology_param::model_topology_param()
{
    std::fill(std::begin(m_slotValuesA), std::end(m_slotValuesA), -1);
    std::fill(std::begin(m_slotValuesB), std::end(m_slotValuesB), -1);
}

model_topology_param::~model_topology_param() = default;

// The client's interface takes the arguments by value.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
void model_topology_param::setTPLYModuleData(QString path, QJsonArray modules)
{
    if (path.isEmpty())
        return;

    if (!hasStorableEntry(modules)) {
        QFile::remove(path);
        return;
    }

    const QFileInfo target(path);
    const bool replacing = target.exists();
    const QDateTime replacedTime = target.lastModified();
    if (!QDir().mkpath(target.absolutePath()))
        return;

    // The settings store writes the sections into a file of our own beside the target; its bytes
    // then replace the target in one step. Writing over the target in place, or removing it first,
    // would lose the old file to a failed write.
    QTemporaryFile staging(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    QTemporaryFile verified(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!staging.open())
        return;
    const QString stagingPath = staging.fileName();
    staging.close();
    const QStringList writtenKeys = writeSections(stagingPath, modules);
    if (writtenKeys.isEmpty())
        return;
    QFile written(stagingPath);
    if (!written.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = written.readAll();
    written.close();
    if (!stagedCompletely(staging, text, writtenKeys, verified))
        return;

    // QSaveFile discards its own temporary file unless commit() succeeds, and staging and verified
    // remove themselves when they go out of scope, so no path below leaves a file behind.
    QSaveFile replacement(path);
    if (!replacement.open(QIODevice::WriteOnly) || replacement.write(text) != text.size()
        || !replacement.flush())
        return;
    if (replacing)
        keepLaterThan(replacement, replacedTime);
    else
        forgetParsedCopy(path);
    replacement.commit();
}

// NOLINTNEXTLINE(performance-unnecessary-value-param)
QJsonArray model_topology_param::getTPLYModuleData(QString path)
{
    QJsonArray modules;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return modules;

    QSettings settings(path, QSettings::IniFormat);
    useUtf8(settings);

    // Listing the keys parses the whole file. A hand-edited value in the store's own binary form
    // can announce a container of billions of elements, and the framework tries to reserve it;
    // such a file cannot be read.
    QStringList keys;
    try {
        keys = settings.allKeys();
    } catch (const std::bad_alloc &) {
        return modules;
    }

    // One listing of every key gives both the sections and their keys: "7/name" is the key "name"
    // of section "7". The store sorts the list as text, so the keys of one section stand together.
    // Listing the sections first and then the keys of each would sort the section name of every
    // key, and search the store once more for every section.
    const std::vector<Section> sections = sectionsOf(keys);
    const int sectionCount = int(sections.size());
    std::vector<const Section *> numbered(sections.size(), nullptr);
    for (const Section &section : sections) {
        const int number = sectionNumber(section.name);
        if (number >= 0 && number < sectionCount)
            numbered[std::size_t(number)] = &section;
    }

    // Sections are taken by number, not by the names the file holds: the store lists them as
    // text ("0", "1", "10", "2"), and the modules must come back in index order.
    for (int i = 0; i < sectionCount; ++i) {
        QJsonObject module;
        if (const Section *section = numbered[std::size_t(i)]) {
            settings.beginGroup(QString::number(i));
            for (int k = section->firstKey; k < section->endKey; ++k) {
                const QString key = keys.at(k).mid(section->name.size() + 1);
                // A line with nothing before its '=' lists as an empty key, which the store
                // refuses to look up.
                if (!key.isEmpty())
                    module.insert(key, settings.value(key).toString());
            }
            settings.endGroup();
        }
        modules.append(module);
    }
    return modules;
}
