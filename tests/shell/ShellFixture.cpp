#include "ShellFixture.h"

#include "ProgramFolder.h"
#include "ProjManager.h"
#include "Settings.h"
#include "storage/DataBase.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

void WriteTemplates(const QString& programFolder)
{
    QDir().mkpath(programFolder);
    QFile exe(programFolder + "/TFPLAY.exe.dat");
    if (!exe.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the run time template");
    exe.write("#!/bin/sh\nexit 0\n");
    exe.close();
    QFile::setPermissions(exe.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    TVudDataBase db;
    db.Reset();
    db.SaveToFile(ToStoragePath(programFolder + "/TFPLAY.ldb.dat"));
}

TEditorHarness::TEditorHarness()
    : DataBase(new TVudDataBase), MapTree(new TVudMapTree), Map(new TVudMap)
{
}

TEditorHarness::~TEditorHarness()
{
    delete DataBase;
    delete MapTree;
    delete Map;
}

void TEditorHarness::Connect(TProjectManager& manager)
{
    manager.OnCreateProject = [this](TProjectManager&, const QString& title, bool& success) {
        if (!FillNewProjectFolder(CurrentProjectFolder(), title)) {
            success = false;
            return;
        }
        WriteInitialMapTreeAndMap(*MapTree, *Map, title);
    };
    manager.OnOpenProject = [this](TProjectManager&, bool& success) {
        LoadProjectData(*DataBase, *MapTree);
        success = true;
    };
    manager.OnCloseProject = [this](TProjectManager&) {
        MapTree->ClearTree();
        ++Closes;
    };
}

void MakeProject(const QString& name, const QString& title)
{
    QDir().mkpath(ReadProjectBasePath() + name);
    TEditorHarness editor;
    TProjectManager manager(nullptr);
    editor.Connect(manager);
    manager.CreateProject(name, title);
    manager.CloseProject();
}
