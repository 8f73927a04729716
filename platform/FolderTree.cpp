#include "FolderTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
void makeWritable(const QString& path)
{
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::ReadOwner |
                                    QFile::ExeOwner);
}

void deleteTree(const QString& folder)
{
    makeWritable(folder);
    const QDir dir(folder);
    const auto entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                           QDir::NoDotAndDotDot);
    for (const QFileInfo& e : entries) {
        const QString path = e.absoluteFilePath();
        if (e.isSymLink() || !e.isDir()) {
            QFile f(path);
            if (!e.isSymLink())
                QFile::setPermissions(path, e.permissions() | QFile::WriteOwner);
            f.remove();
        } else {
            deleteTree(path);
        }
    }
    QDir().rmdir(folder);
}
} // namespace

bool DeleteFolderTree(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    if (info.isSymLink()) {
        QFile::remove(info.absoluteFilePath());
        return !QFileInfo(folder).exists() && !QFileInfo(folder).isSymLink();
    }
    if (!info.isDir())
        return !info.exists();
    deleteTree(info.absoluteFilePath());
    return !QFileInfo::exists(folder);
}
