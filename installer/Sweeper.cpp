#include "Sweeper.h"

#include "FolderTree.h"
#include "IniFile.h"
#include "InstallPlaces.h"
#include "RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {
const QString kSection = QStringLiteral("Install Data");

bool sameOrInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder == QLatin1String("/") ? folder : folder + '/');
}

// Folders whose whole tree belongs to the system.
bool isSystemTree(const QString& folder)
{
    static const QStringList trees = {"bin", "boot", "dev", "etc", "lib", "lib32", "lib64",
                                      "libx32", "proc", "run", "sbin", "sys", "usr", "var"};
    const QStringList parts = folder.split('/', Qt::SkipEmptyParts);
    return parts.size() < 2 || trees.contains(parts.front());
}

// The user's own folders, and every folder that holds one of them.
bool isUserPlace(const QString& folder)
{
    QStringList places = {QDir::homePath(), ApplicationsFolder(), UninstallerFolder()};
    for (auto location : {QStandardPaths::DesktopLocation, QStandardPaths::DocumentsLocation,
                          QStandardPaths::DownloadLocation, QStandardPaths::MusicLocation,
                          QStandardPaths::PicturesLocation, QStandardPaths::MoviesLocation,
                          QStandardPaths::TempLocation, QStandardPaths::GenericConfigLocation,
                          QStandardPaths::GenericDataLocation, QStandardPaths::GenericCacheLocation})
        places << QStandardPaths::writableLocation(location);
    for (const QString& place : places) {
        const QFileInfo info(place);
        const QString clean = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(place);
        if (!clean.isEmpty() && sameOrInside(clean, folder))
            return true;
    }
    return false;
}

// The shortcut named by the record, or empty with `why` set when it leaves the applications folder.
QString shortcutPath(const QString& name, QString& why)
{
    const QString relative = QString(name).replace('\\', '/');
    const QStringList parts = relative.split('/');
    const bool bad = relative.startsWith('/') ||
                     std::any_of(parts.begin(), parts.end(), [](const QString& p) {
                         return p.isEmpty() || p == QLatin1String(".") || p == QLatin1String("..");
                     });
    if (bad || !relative.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive)) {
        why = QStringLiteral("shortcut outside the applications folder: ") + name;
        return {};
    }
    // A linked folder on the way could lead anywhere.
    QString path = ApplicationsFolder();
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += '/' + parts[i];
        if (QFileInfo(path).isSymLink()) {
            why = QStringLiteral("shortcut folder is a link: ") + path;
            return {};
        }
    }
    return path + '/' + parts.back();
}

bool validUninstallKey(const QString& key)
{
    if (!key.startsWith(kUninstallKeyPrefix, Qt::CaseInsensitive))
        return false;
    const QString name = key.mid(kUninstallKeyPrefix.size());
    return !name.trimmed().isEmpty() && !name.contains('\\') && !name.contains('/') &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

std::optional<TSweepPlan> refuse(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

// Removes the folder that held the shortcut, then its parent, while they are empty and below
// the applications folder.
void removeEmptyFolders(const QString& shortcut)
{
    const QString apps = ApplicationsFolder();
    QString folder = QFileInfo(shortcut).absolutePath();
    for (int i = 0; i < 2 && folder.startsWith(apps + '/'); ++i) {
        if (!QDir().rmdir(folder))
            return;
        folder = QFileInfo(folder).absolutePath();
    }
}
} // namespace

std::optional<TSweepPlan> ReadSweepPlan(const QString& indPath, QString* why)
{
    if (why)
        why->clear();
    const QFileInfo ind(indPath);
    if (!ind.isFile())
        return std::nullopt;
    const IniFile record(indPath);
    TSweepPlan plan;
    plan.Title = record.ReadString(kSection, QStringLiteral("Title"), QString());
    if (plan.Title.isEmpty())
        return std::nullopt;
    // Only Setup's record speaks for a game folder.
    if (ind.fileName().compare(QLatin1String("TFPLAY.ind"), Qt::CaseInsensitive) != 0)
        return refuse(why, QStringLiteral("not an install record: ") + indPath);
    plan.GameFolder = ind.canonicalPath();
    if (plan.GameFolder.isEmpty() || isSystemTree(plan.GameFolder) || isUserPlace(plan.GameFolder))
        return refuse(why, QStringLiteral("refusing to delete the folder ") + ind.absolutePath());

    const QString shortcut = record.ReadString(kSection, QStringLiteral("ShortcutName"), QString());
    if (!shortcut.isEmpty()) {
        QString reason;
        plan.ShortcutFile = shortcutPath(shortcut, reason);
        if (plan.ShortcutFile.isEmpty())
            return refuse(why, reason);
    }
    plan.UninstallKey = record.ReadString(kSection, QStringLiteral("UninstallKeyName"), QString());
    if (!plan.UninstallKey.isEmpty() && !validUninstallKey(plan.UninstallKey))
        return refuse(why, QStringLiteral("uninstall key outside the uninstall list: ") +
                               plan.UninstallKey);
    return plan;
}

void ExecuteSweepPlan(const TSweepPlan& plan)
{
    DeleteFolderTree(plan.GameFolder);
    if (!plan.ShortcutFile.isEmpty()) {
        QFile::remove(plan.ShortcutFile);
        removeEmptyFolders(plan.ShortcutFile);
    }
    if (!plan.UninstallKey.isEmpty())
        RegistryStore::DeleteKey(RegistryStore::Hive::Machine, plan.UninstallKey);
}

int SweeperRun(const QStringList& args, const TSweepQuestion& ask)
{
    if (args.isEmpty())
        return 0;
    QString why;
    const std::optional<TSweepPlan> plan = ReadSweepPlan(args.front(), &why);
    if (!plan) {
        if (!why.isEmpty())
            std::fprintf(stderr, "sweeper: %s\n", qPrintable(why));
        return 0;
    }
    if (!ask(QStringLiteral("Are you sure you want to uninstall?"),
             QStringLiteral("Are you sure you want to uninstall %1?").arg(plan->Title)))
        return 0;
    ExecuteSweepPlan(*plan);
    return 0;
}
