#include "writerfiles.h"

#include <QtCore/QFile>
#include <QtCore/QRandomGenerator>
#include <QtCore/QStringList>

#include <algorithm>
#include <cctype>

namespace TopologyWriter {
namespace {

    constexpr int WriterIdLength = 6;

    bool isWriterId(QStringView id)
    {
        return id.size() == WriterIdLength && std::all_of(id.begin(), id.end(), [](QChar c) {
                   return c.unicode() < 128 && std::isalnum(int(c.unicode()));
               });
    }

    void removeWriterFiles(const QDir &dir, const QString &prefix, const QString &lockName)
    {
        const QStringList entries
            = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        for (const QString &entry : entries) {
            if (entry.startsWith(prefix) && entry != lockName)
                QFile::remove(dir.filePath(entry));
        }
    }

    // Takes the lock at path unless a running process holds it. A lock file without the holder's
    // details is one whose holder died while creating it, unless a process holds the file open.
    // Taking a dead process's lock goes through a second lock, path + ".rmlock", which a process
    // killed at that moment leaves behind as well; those are cleared first, a few levels deep.
    bool takeLock(QLockFile &lock, const QString &path, int removalLevels = 3)
    {
        if (removalLevels > 0) {
            const QString removalPath = path + QLatin1String(".rmlock");
            QLockFile removal(removalPath);
            if (!takeLock(removal, removalPath, removalLevels - 1))
                return false;
            removal.unlock();
        }
        lock.setStaleLockTime(0); // judged by its process alone, however long it works
        if (lock.tryLock(0))
            return true;
        qint64 pid = 0;
        QString host;
        QString application;
        return lock.error() == QLockFile::LockFailedError
            && !lock.getLockInfo(&pid, &host, &application) && lock.removeStaleLockFile()
            && lock.tryLock(0);
    }

    QString randomWriterId()
    {
        static const char characters[]
            = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        QString id;
        for (int i = 0; i < WriterIdLength; ++i)
            id += QLatin1Char(characters[QRandomGenerator::global()->bounded(62)]);
        return id;
    }

} // namespace

void removeDeadWritersFiles(const QFileInfo &target)
{
    const QDir dir = target.absoluteDir();
    const QString stem = target.fileName() + QLatin1Char('.');
    QStringList ids;
    const QStringList entries
        = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        const QStringView rest = QStringView(entry).mid(stem.size());
        if (entry.startsWith(stem) && rest.size() > WriterIdLength
            && rest.at(WriterIdLength) == QLatin1Char('.') && isWriterId(rest.left(WriterIdLength))
            && !ids.contains(rest.left(WriterIdLength)))
            ids.append(rest.left(WriterIdLength).toString());
    }
    for (const QString &id : qAsConst(ids)) {
        const QString lockPath = dir.filePath(stem + id + QLatin1String(".lock"));
        QLockFile lock(lockPath);
        if (!takeLock(lock, lockPath))
            continue;
        removeWriterFiles(dir, stem + id + QLatin1Char('.'), QFileInfo(lockPath).fileName());
        lock.unlock();
    }
}

ScratchFiles::ScratchFiles(const QFileInfo &target)
    : m_dir(target.absoluteDir())
{
    for (int attempt = 0; attempt < 8 && !m_lock; ++attempt) {
        const QString prefix = target.fileName() + QLatin1Char('.') + randomWriterId();
        auto lock = std::make_unique<QLockFile>(m_dir.filePath(prefix + QLatin1String(".lock")));
        lock->setStaleLockTime(0); // see takeLock()
        if (lock->tryLock(0)) {
            m_prefix = prefix;
            m_lock = std::move(lock);
        } else if (lock->error() != QLockFile::LockFailedError) {
            return;
        }
    }
}

ScratchFiles::~ScratchFiles()
{
    if (!m_lock)
        return;
    removeWriterFiles(m_dir, m_prefix + QLatin1Char('.'), m_prefix + QLatin1String(".lock"));
    m_lock->unlock();
}

QString ScratchFiles::path(const char *suffix) const
{
    return m_dir.filePath(m_prefix + QLatin1Char('.') + QLatin1String(suffix));
}

} // namespace TopologyWriter
