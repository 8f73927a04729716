// Builds project folders for the shell tests and the screenshot program: template files in a
// program folder and complete projects made the way the main window fills them.
#pragma once
#include <QString>

class TProjectManager;
class TVudDataBase;
class TVudMap;
class TVudMapTree;

// TFPLAY.exe.dat (a script without its exec bit) and a default TFPLAY.ldb.dat in `programFolder`.
void WriteTemplates(const QString& programFolder);

// The editor's objects and the callbacks the main window gives the manager.
struct TEditorHarness {
    TEditorHarness();
    ~TEditorHarness();
    void Connect(TProjectManager& manager);

    TVudDataBase* DataBase;
    TVudMapTree* MapTree;
    TVudMap* Map;
    int Closes = 0;
};

// Creates folder `name` in the base folder and a project in it, then closes it again.
void MakeProject(const QString& name, const QString& title);
