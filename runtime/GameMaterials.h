// Where the game finds its materials and how it turns a picture file into a QImage.
//
// The project's own folders come first, then the run-time package named by the editor's
// settings. A game packed together with the package ("FullPackageFlag" in TFPLAY.ini) never
// looks outside its folder, so what it shows on the player's machine is what was packed.
#pragma once
#include <QImage>
#include <QString>
#include <QStringList>

struct TGameMaterialRoots {
    QString Project;         // with a trailing '/'
    QString RuntimePackage;  // with a trailing '/', empty when not used
};

// The run-time package the editor uses (its stored path, else the RTP folder beside the editor
// that last ran); empty when there is none.
QString InstalledRuntimePackage();
// Reads TFPLAY.ini of the project and the settings the editor shares with the game.
TGameMaterialRoots GameMaterialRootsOf(const QString& projectFolder);

// The roots every later look-up uses (the program sets them once at start).
void SetGameMaterialRoots(const TGameMaterialRoots& roots);
const TGameMaterialRoots& GameMaterialRoots();

// Full path of material `name` (a bare file name, no extension) of material folder `folder`
// ("Title", "Monster", "Backdrop", "CharSet", "Music" ...), trying the folder's extensions in
// order and ignoring letter case; empty when there is no such file or the name is not bare.
QString ResolveGameMaterial(const QString& folder, const QString& name);
QString ResolveGameMaterialIn(const TGameMaterialRoots& roots, const QString& folder,
                              const QString& name);

// A picture file (BMP, PNG or XYZ, by signature) decoded by our codecs. For palette pictures
// index 0 is transparent when `transparent` is set (character sheets, monsters); backdrops and
// title pictures are opaque. Truecolour pictures keep their own alpha. A null image when the file cannot be read; `error` gets the message.
QImage LoadGameImage(const QString& file, bool transparent = true, QString* error = nullptr);
// Both steps at once; a null image when the material is missing or unreadable.
QImage LoadGameMaterialImage(const QString& folder, const QString& name, bool transparent = true);
