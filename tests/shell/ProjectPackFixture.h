// A project "Game" titled "Mi Juego" in a sandbox whose program folder holds the real installer
// set, and a packer with scripted disk swaps.
#pragma once
#include "DriveProbe.h"
#include "ProjPackCore.h"
#include "TestSandbox.h"

#include <QList>
#include <QStringList>
#include <functional>

class PackTest : public SandboxTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A packer for the project with silent copies; AskDisk answers through `onAsk` (default: OK)
    // and records each disk number in `asked`.
    TGamePacker Packer(const QString& destination, bool includeRtp = false);
    // A tiny run-time package without a "Movie" folder, registered as the installed one.
    QString MakeRuntimePackage();
    // The member names `lhasa l` lists, sorted (folders end in '/').
    static QStringList ArchiveNames(const QString& archive);
    // The plain files of a folder, sorted.
    static QStringList FileNames(const QString& folder);
    bool FlagInProject() const;
    bool StagingExists() const;

    QString project;     // ".../projects/Game/"
    QStringList playable; // what the archive of the plain project must list
    QList<int> asked;
    std::function<bool(int disk)> onAsk;
    QList<int> told;
    FakeDriveProbe drives;
};

// Bytes that do not compress.
QByteArray NoiseBytes(qsizetype size, quint32 seed);
