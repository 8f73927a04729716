#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString WithTrailingSeparator(const QString& folder)
{
    if (folder.isEmpty())
        return folder;
    QString f = QDir::fromNativeSeparators(folder);
    return f.endsWith('/') ? f : f + '/';
}

QString ProgramFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return WithTrailingSeparator(QCoreApplication::applicationDirPath());
}

void SetProgramFolderForTests(const QString& folder)
{
    overrideFolder() = WithTrailingSeparator(folder);
}

std::filesystem::path ToStoragePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}
