#include "model_topology_param.h"

#include "topologyini.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <iterator>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How many symbolic links a path may pass through before the writer gives up on it.
constexpr int MaxLinkHops = 40;

// The file a chain of symbolic links at path ends at; the path itself when it is no link. A chain
// that goes on for too long ends at a link.
QFileInfo linkTarget(const QString &path)
{
    QFileInfo info(path);
    for (int hops = 0; hops < MaxLinkHops && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return QFileInfo(info.absoluteFilePath());
}

// A scratch file of the target "topology.ini" is "topology.ini.ab3xz9~". Under the lock every
// one found is a dead writer's.
void removeScratchFiles(const QFileInfo &target)
{
    QDir folder = target.absoluteDir();
    const QStringList names
        = folder.entryList({target.fileName() + QLatin1String(".??????~")},
                           QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    for (const QString &name : names)
        folder.remove(name);
}

bool writeAll(int fd, const QByteArray &data)
{
    for (qint64 done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno != EINTR)
            return false;
        done += std::max<ssize_t>(n, 0);
    }
    return ::fsync(fd) == 0;
}

// Writes text into a new scratch file beside target, flushed to the disk, and renames it over
// target. The scratch file gets the target's permissions, or those of a new file.
void replace(const QFileInfo &target, const QByteArray &text)
{
    QByteArray scratch;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        // Six random letters and digits: 36^6 names.
        const quint64 random = QRandomGenerator::global()->generate64() % Q_UINT64_C(2176782336);
        scratch = QFile::encodeName(
            target.absoluteFilePath() + QLatin1Char('.')
            + QString::number(random, 36).rightJustified(6, QLatin1Char('0')) + QLatin1Char('~'));
        fd = ::open(scratch.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return;
    }
    if (fd < 0)
        return;
    struct stat old = {};
    const QByteArray path = QFile::encodeName(target.absoluteFilePath());
    if (::stat(path.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    const bool written = writeAll(fd, text);
    if (::close(fd) != 0 || !written || ::rename(scratch.constData(), path.constData()) != 0)
        ::unlink(scratch.constData());
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
    const QByteArray text = TopologyIni::text(modules);
    if (!text.isEmpty() && !QDir().mkpath(target.absolutePath()))
        return;
    // Writers of the files of one folder take turns by a lock on the folder itself. The kernel
    // releases it when its holder exits, however it exits, so nothing a writer leaves can look
    // like a live writer's; a stopped writer keeps it.
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    while (::flock(folder, LOCK_EX) != 0 && errno == EINTR) { }
    removeScratchFiles(target);
    if (text.isEmpty())
        QFile::remove(target.absoluteFilePath());
    else
        replace(target, text);
    ::close(folder);
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
    return TopologyIni::modules(file.readAll());
}
