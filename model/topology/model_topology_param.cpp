#include "model_topology_param.h"

#include "nestedvariants.h"
#include "writerfiles.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonObject>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryFile>
#include <QtCore/QVariant>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <new>
#include <vector>

namespace {

const char IniCodec[] = "UTF-8";

// A member value that nests arrays and objects deeper than this is stored as an empty text. The
// settings store converts, writes and reads such values by recursion, one stack frame per level.
constexpr int MaxMemberNesting = 32;

// How many symbolic links a path may pass through before the writer gives up on it.
constexpr int MaxLinkHops = 40;

// The settings store keeps a parsed copy of every file it has read in this process and trusts it
// for as long as the file's size and modification time stay the same, which two versions written
// within one tick of the clock can share. So the store only ever parses files under names that are
// used once, and forgets each copy when the file is gone: a settings object opened on a missing
// file drops what the store holds for it.
void forgetParsedCopy(const QString &path)
{
    QSettings settings(path, QSettings::IniFormat);
}

// Whether value holds more than limit levels of arrays and objects, one inside the other. The
// levels are walked one after the other, so that no depth costs stack.
bool nestsDeeperThan(const QJsonValue &value, int limit)
{
    std::vector<QJsonValue> level;
    if (value.isArray() || value.isObject())
        level.push_back(value);
    for (int depth = 1; !level.empty(); ++depth) {
        if (depth > limit)
            return true;
        std::vector<QJsonValue> next;
        for (const QJsonValue &v : level) {
            if (v.isArray()) {
                const QJsonArray array = v.toArray();
                for (const QJsonValue &child : array) {
                    if (child.isArray() || child.isObject())
                        next.push_back(child);
                }
            } else {
                const QJsonObject object = v.toObject();
                for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
                    if (it.value().isArray() || it.value().isObject())
                        next.push_back(it.value());
                }
            }
        }
        level.swap(next);
    }
    return false;
}

bool hasStorableEntry(const QJsonArray &modules)
{
    // The store refuses an empty key; every other key names an entry, even one made only of
    // slashes, which names the section's own nameless entry.
    return std::any_of(modules.begin(), modules.end(), [](const QJsonValue &module) {
        const QJsonObject object = module.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (!it.key().isEmpty())
                return true;
        }
        return false;
    });
}

// Writes the modules as one section each into the settings file at path, which does not exist
// yet, and gives the keys the store now holds ("0/name", ...). An empty list means the write
// failed.
QStringList writeSections(const QString &path, const QJsonArray &modules)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec(IniCodec);
    for (int i = 0; i < modules.size(); ++i) {
        const QJsonObject module = modules.at(i).toObject();
        settings.beginGroup(QString::number(i));
        for (auto it = module.constBegin(); it != module.constEnd(); ++it) {
            // Each call of key() converts the stored key into a new string.
            const QString key = it.key();
            if (key.isEmpty())
                continue;
            const QJsonValue value = it.value();
            settings.setValue(key,
                              nestsDeeperThan(value, MaxMemberNesting) ? QVariant(QString())
                                                                       : value.toVariant());
        }
        settings.endGroup();
    }
    settings.sync();
    return settings.status() == QSettings::NoError ? settings.allKeys() : QStringList();
}

// A full disk or a file size limit can cut the store's output short without the store noticing.
// The file is complete when it ends with a whole line and, parsed afresh from the disk, holds
// every key that was written.
bool completelyWritten(const QString &path, const QStringList &writtenKeys)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.readAll().endsWith('\n'))
        return false;
    file.close();
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec(IniCodec);
    // Both lists come out of the store in its own key order.
    return settings.status() == QSettings::NoError && settings.allKeys() == writtenKeys;
}

// The file a chain of symbolic links at path ends at, as an absolute path; the path itself when
// it is no link. A chain that goes on for too long ends at a link.
QFileInfo linkTarget(const QString &path)
{
    QFileInfo info(path);
    for (int hops = 0; hops < MaxLinkHops && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return QFileInfo(info.absoluteFilePath());
}

// Writes the modules into the scratch file staged, checks them under the scratch name checked,
// and moves that file into target's place.
void replaceWith(const QFileInfo &target, const QString &staged, const QString &checked,
                 const QJsonArray &modules)
{
    const QStringList writtenKeys = writeSections(staged, modules);
    // The store has its own parsed copy of what it wrote; the check parses the disk's copy under a
    // name the store has never seen.
    if (writtenKeys.isEmpty() || !QFile::rename(staged, checked)
        || !completelyWritten(checked, writtenKeys))
        return;
    if (target.exists()) {
        const QFileDevice::Permissions modeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner
            | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
            | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
            | QFileDevice::ExeOther;
        QFile::setPermissions(checked, target.permissions() & modeBits);
    }
    // Unlike QFile::rename(), the C library's rename() replaces an existing file, in one step.
    std::rename(QFile::encodeName(checked).constData(),
                QFile::encodeName(target.absoluteFilePath()).constData());
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

// The modules of the settings file at path.
QJsonArray modulesIn(const QString &path)
{
    QJsonArray modules;
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec(IniCodec);

    // Listing the keys parses the whole file. A hand-edited string or byte array can announce
    // billions of characters, and the framework tries to reserve them; such a file cannot be read.
    QStringList keys;
    try {
        keys = settings.allKeys();
    } catch (const std::bad_alloc &) {
        return modules;
    }

    // One listing of every key gives both the sections and their keys: "7/name" is the key "name"
    // of section "7". The store sorts the list as text, so the keys of one section stand together.
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
                // A line with nothing before its '=' is the section's nameless entry. The store
                // lists it as an empty key but refuses to look that up; a key made only of
                // slashes names the same entry.
                const QString lookup = key.isEmpty() ? QStringLiteral("/") : key;
                module.insert(key, settings.value(lookup).toString());
            }
            settings.endGroup();
        }
        modules.append(module);
    }
    return modules;
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

    // A link is followed to the file it names; whatever is not a regular file is left alone.
    const QFileInfo target = linkTarget(path);
    if (target.isSymLink() || (target.exists() && !target.isFile()))
        return;

    if (!hasStorableEntry(modules)) {
        TopologyWriter::removeDeadWritersFiles(target);
        QFile::remove(target.absoluteFilePath());
        return;
    }

    if (!QDir().mkpath(target.absolutePath()))
        return;
    TopologyWriter::removeDeadWritersFiles(target);

    // The settings store writes the sections into a scratch file beside the target, which then
    // takes the target's place in one step. Writing over the target in place, or removing it
    // first, would lose the old file to a failed write.
    QString staged;
    QString checked;
    {
        const TopologyWriter::ScratchFiles scratch(target);
        if (scratch.isValid()) {
            staged = scratch.path("ini");
            checked = scratch.path("new");
            replaceWith(target, staged, checked, modules);
        }
    }
    // Both scratch files are gone now.
    if (!staged.isEmpty()) {
        forgetParsedCopy(staged);
        forgetParsedCopy(checked);
    }
}

// NOLINTNEXTLINE(performance-unnecessary-value-param)
QJsonArray model_topology_param::getTPLYModuleData(QString path)
{
    // Devices, pipes and directories are no topology files: reading one could wait forever.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QJsonArray();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonArray();
    const QByteArray data = file.readAll();
    file.close();
    const QByteArray readable = TopologyIni::withoutNestedVariants(data);

    // The store parses a private copy of what the file held when it was read.
    QString copyName;
    QJsonArray modules;
    {
        QTemporaryFile copy(QDir::tempPath() + QLatin1String("/devicemodel-topology.XXXXXX"));
        if (copy.open() && copy.write(readable) == readable.size() && copy.flush()) {
            copyName = copy.fileName();
            copy.close();
            modules = modulesIn(copyName);
        } else if (readable.size() == data.size()) {
            // Without a private copy the store parses the file itself, which is safe, though it
            // may hand back its parsed copy of an earlier version of equal size and time.
            modules = modulesIn(path);
        }
    }
    if (!copyName.isEmpty())
        forgetParsedCopy(copyName);
    return modules;
}
