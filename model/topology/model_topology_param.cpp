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

namespace {

const char IniCodec[] = "UTF-8";

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

// Writes the modules as one section each into the settings file at path, which is empty.
bool writeSections(const QString &path, const QJsonArray &modules)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec(IniCodec);
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
    return settings.status() == QSettings::NoError;
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
    if (!staging.open())
        return;
    const QString stagingPath = staging.fileName();
    staging.close();
    if (!writeSections(stagingPath, modules))
        return;
    QFile written(stagingPath);
    if (!written.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = written.readAll();
    written.close();

    // QSaveFile discards its own temporary file unless commit() succeeds, and staging removes
    // itself when it goes out of scope, so no path below leaves a file behind.
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
    settings.setIniCodec(IniCodec);

    // Listing the sections parses the whole file. A hand-edited value in the store's own binary
    // form can announce a container of billions of elements, and the framework tries to reserve
    // it; such a file cannot be read.
    int sectionCount = 0;
    try {
        sectionCount = settings.childGroups().size();
    } catch (const std::bad_alloc &) {
        return modules;
    }

    // Sections are taken by number, not by the names the file holds: the store lists them as
    // text ("0", "1", "10", "2"), and the modules must come back in index order.
    for (int i = 0; i < sectionCount; ++i) {
        settings.beginGroup(QString::number(i));
        QJsonObject module;
        const QStringList keys = settings.allKeys();
        for (const QString &key : keys) {
            // A line with nothing before its '=' lists as an empty key, which the store
            // refuses to look up.
            if (!key.isEmpty())
                module.insert(key, settings.value(key).toString());
        }
        settings.endGroup();
        modules.append(module);
    }
    return modules;
}
