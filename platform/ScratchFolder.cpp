#include "ScratchFolder.h"

#include "FolderTree.h"
#include "ProgramFolder.h"
#include "storage/LD_Map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {
QString& parentOverride()
{
    static QString parent;
    return parent;
}

QString scratchPath()
{
    const QString parent = parentOverride().isEmpty() ? QDir::tempPath() : parentOverride();
    // The system temporary folder is shared between users: the name carries ours.
    return WithTrailingSeparator(parent) + QStringLiteral("TF_WORK-%1").arg(getuid());
}

bool isOurs(const QFileInfo& info)
{
    return !info.isSymLink() && info.isDir() && info.ownerId() == getuid();
}
} // namespace

QString ScratchFolderPath()
{
    return scratchPath() + '/';
}

void SetScratchParentForTests(const QString& parent)
{
    parentOverride() = parent;
}

bool ResetScratchFolder()
{
    const QString path = scratchPath();
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !isOurs(info)))
        return false;
    if (info.exists())
        DeleteFolderTree(path);
    if (!QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    // mkdir may have raced with someone else's link: check what we got.
    if (!isOurs(QFileInfo(path)))
        return false;
    SetScratchFolder(ToStoragePath(path));
    return true;
}

void RemoveScratchFolder()
{
    const QFileInfo info(scratchPath());
    if (isOurs(info))
        DeleteFolderTree(scratchPath());
}

QString TStagingFolder::Path()
{
    return ScratchFolderPath() + QStringLiteral("GameDisk/");
}

QString TStagingFolder::Prepare()
{
    // The scratch folder may hold the editor's work copies: only GameDisk inside it is ours to empty.
    const QString work = QDir::cleanPath(ScratchFolderPath());
    if (QFileInfo(work).isSymLink())
        return work;
    if (!QFileInfo(work).isDir()) {
        if (!QDir().mkdir(work, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return work;
        madeWorkFolder = true;
    }
    const QString staging = QDir::cleanPath(Path());
    DeleteFolderTree(staging);
    // A folder just made by us, inside a scratch folder of ours, or someone else could reach into it.
    if (!QDir().mkdir(staging) || QFileInfo(staging).isSymLink() ||
        QFileInfo(staging).ownerId() != QFileInfo(work).ownerId())
        return staging;
    return QString();
}

void TStagingFolder::Remove()
{
    const QString staging = QDir::cleanPath(Path());
    if (!QFileInfo(staging).isSymLink())
        DeleteFolderTree(staging);
    if (madeWorkFolder)
        QDir().rmdir(QDir::cleanPath(ScratchFolderPath()));
    madeWorkFolder = false;
}
