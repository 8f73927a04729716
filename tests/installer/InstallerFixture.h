// Each test gets its own home: HOME, the XDG folders and TMPDIR point into a temporary folder,
// so the registry store, the applications folder, ~/.local/bin and TF_WORK all live there.
#pragma once
#include "MessageService.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TUnlhaFn = int (*)(void*, const char*, char*, unsigned long);

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& relative) const { return dir.path() + '/' + relative; }
    QString Home() const { return Path(QStringLiteral("home")); }
    static void WriteFile(const QString& path, const QByteArray& content);
    static QByteArray ReadFile(const QString& path);

    // A project folder with the playable files, the fourteen material folders and a few files
    // that are not packed. Returns its path.
    QString MakeProject(const QString& parent, const QString& name);
    // The files and folders under `folder`, relative, sorted ("Music/", "TFPLAY.exe", ...).
    static QStringList Tree(const QString& folder);
    // What the game disk packs of a project, as Tree() would list it.
    static QStringList PlayableTree(const QString& project);
    // Packs the project with the archiver's pack command line into `archive`.
    void Pack(const QString& project, const QString& archive);
    // A game disk folder: Setup.exe, UNLHA32.DLL, Setup.ini and the archive (or `volumes`
    // pieces of it named .001, .002, ... when volumes > 0). Returns the folder.
    QString MakeDisk(const QString& project, const QString& title, int volumes = 0);

    TUnlhaFn Unlha();

    QTemporaryDir dir;
    ScopedMessageService messages;
};
