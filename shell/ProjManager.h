// The project manager: which project is open, and creating, opening and closing project folders.
// What a project's data means is loaded and unloaded by the main window through the callbacks;
// the manager itself only touches folders and files.
#pragma once
#include <QList>
#include <QString>
#include <functional>

class QWidget;
class TVudDataBase;
class TVudMap;
class TVudMapTree;
class TProjectManager;

using TCreateProjectEvent = std::function<void(TProjectManager& sender, const QString& title, bool& success)>;
using TOpenProjectEvent = std::function<void(TProjectManager& sender, bool& success)>;
using TCloseProjectEvent = std::function<void(TProjectManager& sender)>;

class TProjectManager {
public:
    // Writes "ApplicationPath".
    explicit TProjectManager(QWidget* owner);

    // Fills the (already created) folder through OnCreateProject and opens it; on any failure
    // the folder is deleted and EVudError("No se pudo crear el proyecto.") is raised.
    void CreateProject(const QString& folderName, const QString& title);
    // Errors of OnOpenProject are passed on after the clean-up.
    void OpenProject(const QString& folderName);
    void CloseProject();
    // Opens the project that was open when the editor last ended; failures are silent.
    void ReopenLastProject();

    // Run the dialogs and, on OK, create or open the project.
    void ShowNewProjectDialog();
    void ShowOpenProjectDialog();

    bool Opened() const { return opened; }
    const QString& ProjectFolderName() const { return folderName; }
    QWidget* Owner() const { return owner; }

    TCreateProjectEvent OnCreateProject;
    TOpenProjectEvent OnOpenProject;
    TCloseProjectEvent OnCloseProject;

private:
    void leaveProjectFolder();

    QWidget* owner;
    bool opened = false;
    QString folderName;
};

// The nine characters a project folder name may not hold: \ / : ? * < > | "
bool HasForbiddenCharacter(const QString& name);
// A single folder name: not empty, no forbidden character, not "." or "..".
bool IsProjectFolderName(const QString& name);
// "Proyecto<N>" with the smallest N for which no such folder exists in `base`.
QString ProposeProjectFolderName(const QString& base);

struct TProjectEntry {
    QString Folder;
    QString Title;
};
// The sub-folders of `base` that hold TFPLAY.exe, sorted by folder name, with their titles.
QList<TProjectEntry> ListProjects(const QString& base);

// The main window's share of creating a project, in steps: the material folders, the two
// templates from the program folder (TFPLAY.exe made executable) and TFPLAY.ini. False at the
// first step that fails.
bool FillNewProjectFolder(const QString& projectFolder, const QString& title);
// In the current project folder: the map tree (root named after the title, map "MAP0001") and
// map 1 of 100 x 100 cells, written through its work copy in the scratch folder. `tree` and
// `map` are the editor's objects; they hold the new project afterwards.
void WriteInitialMapTreeAndMap(TVudMapTree& tree, TVudMap& map, const QString& title);
// Reads the current project's database and map tree; loading errors pass on (EVudError).
void LoadProjectData(TVudDataBase& database, TVudMapTree& tree);
