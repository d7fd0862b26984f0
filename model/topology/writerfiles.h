#ifndef MODEL_TOPOLOGY_WRITERFILES_H
#define MODEL_TOPOLOGY_WRITERFILES_H

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QLockFile>
#include <QtCore/QString>

#include <memory>

// Internal to the library.
//
// Every write of a topology file works with files beside it, named after it and a writer's id:
// "topology.ini.Ab3xZ9.lock" is the writer's lock, held while it writes, and every other file
// that starts with "topology.ini.Ab3xZ9." is the writer's scratch. The lock carries the writer's
// process id and is held open, so a writer that was killed leaves a lock that the next writer can
// tell from a live one's; the next writer then removes the dead one's files.
namespace TopologyWriter {

// Removes the files of writers of target that are no longer running: a writer is alive while its
// lock cannot be taken. Files of an id whose lock is missing belong to nobody, since a writer
// takes its lock first and gives it up last.
void removeDeadWritersFiles(const QFileInfo &target);

// One write's claim on its scratch names; releasing it removes every scratch file, then the lock.
class ScratchFiles
{
public:
    explicit ScratchFiles(const QFileInfo &target);
    ScratchFiles(const ScratchFiles &) = delete;
    ScratchFiles &operator=(const ScratchFiles &) = delete;
    ~ScratchFiles();

    bool isValid() const { return m_lock != nullptr; }
    // The path of the scratch file named by suffix.
    QString path(const char *suffix) const;

private:
    QDir m_dir;
    QString m_prefix;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace TopologyWriter

#endif // MODEL_TOPOLOGY_WRITERFILES_H
