// The scratch folder TF_WORK: map work copies, the game disk staging folder, the battle test
// backup. It is per user and private (0700); a symbolic link or a folder of another user in its
// place is refused rather than written into.
#pragma once
#include <QString>

// The folder's path, with a trailing separator.
QString ScratchFolderPath();
// Empties the folder (creating it when missing) and hands it to storage for the map work
// copies. False when it cannot be made safe.
bool ResetScratchFolder();
// Deletes the folder at exit.
void RemoveScratchFolder();
// Tests put the folder into a sandbox; empty restores the system temporary folder.
void SetScratchParentForTests(const QString& parent);

// "GameDisk" inside the scratch folder: where the editor assembles a game disk and Setup
// gathers its volumes. Prepare empties it and makes it afresh; Remove deletes it, and the
// scratch folder too when Prepare had to make that (a running editor keeps work copies there).
class TStagingFolder {
public:
    // With a trailing separator.
    static QString Path();
    // Empty on success; otherwise the folder that could not be made safely.
    QString Prepare();
    void Remove();

private:
    bool madeWorkFolder = false;
};
