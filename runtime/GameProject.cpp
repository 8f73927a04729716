#include "GameProject.h"

#include "AtomicFile.h"
#include "GR_ChipSet.h"
#include "GameMaterials.h"
#include "TextCodec.h"
#include "ProgramFolder.h"
#include "Stream.h"

#include <QDir>

#include <algorithm>

namespace {
[[noreturn]] void failOn(const QString& fileName, const std::string& why)
{
    throw EGameLoadError(
        QStringLiteral("No se puede cargar el archivo %1: %2").arg(fileName, QString::fromUtf8(why.c_str())).toStdString());
}

void loadDataBase(TGameProject& p)
{
    const QString name = QStringLiteral("TFPLAY.ldb");
    try {
        p.DataBase->LoadFromFile(ToStoragePath(p.Folder + name));
    } catch (const std::exception& e) {
        failOn(name, e.what());
    }
}

void loadTree(TGameProject& p)
{
    // Read from the bytes: the tree's own file loader also tidies the editor's work copies.
    const QString name = QStringLiteral("TFPLAY.lmt");
    try {
        const std::vector<uint8_t> bytes = ReadWholeFile(ToStoragePath(p.Folder + name), uint64_t(64) << 20);
        TReader s(bytes);
        p.Tree.LoadTreeFromStream(s);
    } catch (const std::exception& e) {
        failOn(name, e.what());
    }
    const TVudMapStartPosition& start = p.Tree.StartPosition;
    p.MapID = start.PartyMapID;
    p.StartX = start.PartyX;
    p.StartY = start.PartyY;
    const TVudMapTreeItem* node = p.Tree.Find(p.MapID);
    if (p.MapID <= 0 || !node || node->NodeType != ntMap)
        failOn(name, "no hay posición inicial del grupo en un mapa");
}

void loadMapInto(TVudMap& map, const QString& folder, int mapID, int x, int y, const QString& placeSource)
{
    const QString name = QString::fromStdString(MapFileName(mapID));
    try {
        map.LoadFromFileStrict(ToStoragePath(folder + name));
    } catch (const std::exception& e) {
        failOn(name, e.what());
    }
    if (map.Width <= 0 || map.Height <= 0)
        failOn(name, "el mapa no tiene celdas");
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
        failOn(placeSource, "la posición del grupo está fuera del mapa");
}

void loadMap(TGameProject& p)
{
    loadMapInto(p.Map, p.Folder, p.MapID, p.StartX, p.StartY, QStringLiteral("TFPLAY.lmt"));
}
} // namespace

void LoadGameProject(TGameProject& p, const QString& folder, bool databaseOnly)
{
    p.Folder = WithTrailingSeparator(QDir(folder).absolutePath());
    if (!p.DataBase)
        p.DataBase = std::make_unique<TVudDataBase>();
    loadDataBase(p);
    if (databaseOnly)
        return;
    loadTree(p);
    loadMap(p);
}

void CheckGameMap(const TGameProject& p, int mapID, int x, int y)
{
    const QString name = QString::fromStdString(MapFileName(std::clamp(mapID, 0, kMaxMapID)));
    const TVudMapTreeItem* node = p.Tree.Find(mapID);
    if (mapID <= 0 || mapID > kMaxMapID || !node || node->NodeType != ntMap)
        failOn(name, "el mapa no está en el árbol de mapas");
    TVudMap probe;
    loadMapInto(probe, p.Folder, mapID, x, y, name);
}

void LoadGameMap(TGameProject& p, int mapID, int x, int y)
{
    CheckGameMap(p, mapID, x, y);
    p.MapID = mapID;
    p.StartX = x;
    p.StartY = y;
    loadMap(p);
}

const TVudMusic* MapMusic(const TVudMapTree& tree, int mapID)
{
    // The tree is normalised on load, so parents lead to the root without cycles; the bound is
    // only a guard.
    const TVudMapTreeItem* node = tree.Find(mapID);
    for (int depth = 0; node && depth <= kMaxMapID; ++depth) {
        if (node->MusicType == 1 || node->NodeType == ntRoot)
            return nullptr;
        if (node->MusicType == 2)
            return node->Music.Name.empty() || node->Music.Name == "(OFF)" ? nullptr : &node->Music;
        node = tree.Find(node->ParentID);
    }
    return nullptr;
}

int LeadingHeroID(const TVudDataBase& db)
{
    return db.System().PartySize() > 0 ? db.System().PartyMember(0) : 0;
}

void InstallGameMaterials(const QString& projectFolder)
{
    SetGameMaterialRoots(GameMaterialRootsOf(projectFolder));
    SetProjectFolder(ToStoragePath(projectFolder));
    SetMaterialResolver([](const std::string& name, const std::string& folder) -> std::filesystem::path {
        const QString file = ResolveGameMaterial(QString::fromStdString(folder), FromCp1252(name));
        return file.isEmpty() ? std::filesystem::path() : ToStoragePath(file);
    });
}
