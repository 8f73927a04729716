#include "ProjManager.h"

#include "FileCopier.h"
#include "FolderTree.h"
#include "Hourglass.h"
#include "Materials.h"
#include "ProgramFolder.h"
#include "ProjNew.h"
#include "ProjOpen.h"
#include "Settings.h"
#include "TextCodec.h"
#include "VudError.h"
#include "storage/DataBase.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {
const char* const kCreateFailed = "No se pudo crear el proyecto.";

bool copyTemplate(const QString& templateName, const QString& target)
{
    return CopyFileKeepingMode(ProgramFolder() + templateName, target);
}

// The run time must start from the project whatever mode its template had.
bool makeExecutable(const QString& file)
{
    auto p = QFile::permissions(file);
    p |= QFile::ExeOwner | QFile::ExeUser;
    if (p & QFile::ReadGroup)
        p |= QFile::ExeGroup;
    if (p & QFile::ReadOther)
        p |= QFile::ExeOther;
    return QFile::setPermissions(file, p);
}
} // namespace

TProjectManager::TProjectManager(QWidget* owner) : owner(owner)
{
    WriteApplicationPath();
}

void TProjectManager::leaveProjectFolder()
{
    QDir::setCurrent(ReadProjectBasePath());
}

void TProjectManager::CreateProject(const QString& name, const QString& title)
{
    if (opened)
        return;
    // A name that is no single folder would make the clean-up below delete the wrong tree.
    if (!IsProjectFolderName(name))
        throw EVudError(kCreateFailed);
    const QString base = ReadProjectBasePath();
    folderName = name;
    SetCurrentProjectFolder(base + name);
    bool success = true;
    try {
        if (OnCreateProject)
            OnCreateProject(*this, title, success);
        if (success) {
            OpenProject(name);
            success = opened; // a project that did not open was not created
        }
    } catch (...) {
        success = false;
    }
    if (success)
        return;
    leaveProjectFolder();
    DeleteFolderTree(base + name);
    folderName.clear();
    SetCurrentProjectFolder(QString());
    throw EVudError(kCreateFailed);
}

void TProjectManager::OpenProject(const QString& name)
{
    if (opened || !IsProjectFolderName(name))
        return;
    const QString base = ReadProjectBasePath();
    if (!QDir::setCurrent(base + name))
        return;
    SetCurrentProjectFolder(base + name);
    folderName = name;
    bool success = false;
    try {
        if (OnOpenProject)
            OnOpenProject(*this, success);
    } catch (...) {
        leaveProjectFolder();
        SetCurrentProjectFolder(QString());
        folderName.clear();
        throw;
    }
    if (success) {
        opened = true;
        WriteOpenedProjectFolder(QDir(QDir::currentPath()).dirName());
    } else {
        // Closed means no current project folder either, or material look-ups would use it.
        leaveProjectFolder();
        SetCurrentProjectFolder(QString());
        folderName.clear();
    }
}

void TProjectManager::CloseProject()
{
    if (!opened)
        return;
    if (OnCloseProject)
        OnCloseProject(*this);
    leaveProjectFolder();
    SetCurrentProjectFolder(QString());
    WriteOpenedProjectFolder(QString());
    opened = false;
    folderName.clear();
}

void TProjectManager::ReopenLastProject()
{
    try {
        OpenProject(ReadOpenedProjectFolder());
    } catch (...) {
        // A project that cannot be reopened at start-up is simply not open.
    }
}

void TProjectManager::ShowNewProjectDialog()
{
    TFormProjectNew dialog(owner);
    if (dialog.exec() == QDialog::Accepted)
        CreateProject(dialog.FolderName(), dialog.GameTitle());
}

void TProjectManager::ShowOpenProjectDialog()
{
    TFormProjectOpen dialog(owner);
    if (dialog.exec() == QDialog::Accepted)
        OpenProject(dialog.FolderName());
}

bool HasForbiddenCharacter(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\/:?*<>|\"");
    return std::any_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); });
}

bool IsProjectFolderName(const QString& name)
{
    return !name.isEmpty() && !HasForbiddenCharacter(name) && name != QLatin1String(".") &&
           name != QLatin1String("..") && !name.contains(QChar(0));
}

QString ProposeProjectFolderName(const QString& base)
{
    const QString folder = WithTrailingSeparator(base);
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Proyecto%1").arg(n);
        if (!QFileInfo::exists(folder + name))
            return name;
    }
}

QList<TProjectEntry> ListProjects(const QString& base)
{
    HourglassGuard hourglass;
    const QString folder = WithTrailingSeparator(base);
    QList<TProjectEntry> projects;
    const QStringList dirs = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& d : dirs) {
        if (QFileInfo(folder + d + QStringLiteral("/TFPLAY.exe")).isFile())
            projects.append({d, ReadGameTitle(folder + d)});
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(projects.begin(), projects.end(), [&](const auto& a, const auto& b) {
        return collator.compare(a.Folder, b.Folder) < 0;
    });
    return projects;
}

bool FillNewProjectFolder(const QString& projectFolder, const QString& title)
{
    const QString folder = WithTrailingSeparator(projectFolder);
    for (const QString& m : MaterialFolders()) {
        if (!QDir().mkdir(folder + m))
            return false;
    }
    if (!copyTemplate(QStringLiteral("TFPLAY.exe.dat"), folder + QStringLiteral("TFPLAY.exe")) ||
        !makeExecutable(folder + QStringLiteral("TFPLAY.exe")) ||
        !copyTemplate(QStringLiteral("TFPLAY.ldb.dat"), folder + QStringLiteral("TFPLAY.ldb")))
        return false;
    return WriteGameTitle(folder, title);
}

void WriteInitialMapTreeAndMap(TVudMapTree& tree, TVudMap& map, const QString& title)
{
    tree.ClearTree();
    TVudMapTreeItem* root = tree.AddMap(0, 0);
    root->NodeType = ntRoot;
    root->Name = ToCp1252(title);
    TVudMapTreeItem* first = tree.AddMap(0, 1);
    first->NodeType = ntMap;
    first->Name = "MAP0001";
    first->MusicType = first->BattleBackType = 1;
    first->Teleport = first->Escape = first->Save = 1;
    first->EncounterSteps = 25;
    first->Modified = true;

    map.Clear();
    map.SetWidth(100);
    map.SetHeight(100);
    map.SaveWork(1);
    tree.ActiveMapID = 1;
    // Moves the work copy of map 1 into the project and writes TFPLAY.lmt.
    tree.SaveToFile();
}

void LoadProjectData(TVudDataBase& database, TVudMapTree& tree)
{
    database.LoadFromProject(ToStoragePath(CurrentProjectFolder()));
    tree.LoadFromFile();
}
