// What the game loads from a project folder: the database, the map tree and the party's start
// map. Loading is strict: a file that cannot be read stops the game with a clear message.
#pragma once
#include <QString>

#include <memory>
#include <stdexcept>
#include <string>

#include "DataBase.h"
#include "LD_Map.h"
#include "LD_MapTree.h"

// A file of the project that cannot be used; what() is the message shown to the player.
class EGameLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TGameProject {
    QString Folder;  // with a trailing '/'
    std::unique_ptr<TVudDataBase> DataBase;
    TVudMapTree Tree;
    TVudMap Map;
    int MapID = 0;
    int StartX = 0, StartY = 0;
};

// Material look-up for everything the game draws and plays, the tile and character drawing code
// included: the project folder, then the run-time package unless the game is packed with it.
void InstallGameMaterials(const QString& projectFolder);

// Reads TFPLAY.ldb, and unless `databaseOnly`, TFPLAY.lmt and the start map.
void LoadGameProject(TGameProject& project, const QString& folder, bool databaseOnly);

// Whether map `mapID` of the tree can be entered at (x, y); raises EGameLoadError when not.
void CheckGameMap(const TGameProject& project, int mapID, int x, int y);
// Makes map `mapID` the project's map, the party at (x, y) (a teleport). Check first: a failure
// here leaves the project's map half loaded.
void LoadGameMap(TGameProject& project, int mapID, int x, int y);

// The music a map plays: its own, or its parent's when it says "as the parent", up the tree.
// Null when the map plays none.
const TVudMusic* MapMusic(const TVudMapTree& tree, int mapID);

// The hero shown on the map: the first member of the starting party (0 when the party is empty).
int LeadingHeroID(const TVudDataBase& db);
