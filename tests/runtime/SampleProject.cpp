#include "SampleProject.h"

#include "LD_Event.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapPaint.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "Settings.h"

#include <QDir>

namespace {
void addEvent(TVudMap& map, int id, int x, int y, const char* charSet, int index, int direction, int priority)
{
    TVudEventItem* e = map.Events.Insert(id);
    e->Name = "EV" + std::to_string(id);
    e->X = x;
    e->Y = y;
    TVudEventPageItem* page = e->Pages.At(0);
    page->CharSetName = charSet;
    page->CharSetIndex = index;
    page->Direction = uint8_t(direction);
    page->Priority = uint8_t(priority);
}

// Meadow, a lake, a road, flowers, trees to walk under and a fence of rocks.
void paint(TVudMap& map)
{
    map.SetWidth(TSampleProject::MapWidth);
    map.SetHeight(TSampleProject::MapHeight);
    map.ChipSetID = 1;
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            map.SetCell(0, x, y, 4000);
            map.SetCell(1, x, y, 10000);
        }
    TMapPaintEngine engine(map);
    engine.Reload();
    engine.Layer = emLower;
    for (int y = 2; y < 9; ++y)
        for (int x = 14; x < 24; ++x)
            if (EllipseCell(10, 7, x - 14, y - 2))
                engine.PaintBrushCell(x, y, 0);
    for (int x = 0; x < map.Width; ++x)
        for (int y = 12; y < 14; ++y)
            engine.PaintBrushCell(x, y, 4050);
    for (int y = 3; y < 7; ++y)
        for (int x = 2; x < 8; ++x)
            engine.PaintBrushCell(x, y, 4150);
    const int trees[][2] = {{3, 8}, {10, 4}, {25, 10}, {12, 15}, {20, 16}, {1, 16}, {26, 3}};
    for (const auto& t : trees) {
        map.SetCell(1, t[0], t[1], 10012);
        map.SetCell(1, t[0] + 1, t[1], 10013);
        map.SetCell(1, t[0], t[1] + 1, 10018);
        map.SetCell(1, t[0] + 1, t[1] + 1, 10019);
    }
    for (int x = 4; x < 9; ++x)
        map.SetCell(1, x, 17, 10007);
    addEvent(map, 1, 10, 10, "Aldeanos", 0, 2, 1);
    addEvent(map, 2, 6, 11, "Objetos", 0, 0, 1);
    addEvent(map, 3, 13, 11, "", 1, 2, 0);
    // The villager steps in place and has two things to say.
    TVudEventPageItem* villager = map.Events.Find(1)->Pages.At(0);
    villager->AnimationType = 1;
    villager->Script.Lines = {
        {10110, 0, "\xa1Hola, viajero!"},
        {20110, 0, "El faro est\xe1 al otro lado del lago."},
        {10110, 0, "Buen viaje."},
        {0, 0},
    };
    // A teleport under the grass south of the road, the way the editor builds one.
    addEvent(map, 4, 8, 14, "", 0, 2, 0);
    TVudEventPageItem* door = map.Events.Find(4)->Pages.At(0);
    door->Trigger = 1;
    door->Script.Lines = {{11010, 0, "", {-1}}, {10810, 0, "", {2, 5, 7}}, {11020, 0, "", {-1}}, {0, 0}};
}

// The second map: a small field with the way back.
void paintSecond(TVudMap& map)
{
    map.Clear();
    map.SetWidth(20);
    map.SetHeight(15);
    map.ChipSetID = 1;
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            map.SetCell(0, x, y, 4150);
            map.SetCell(1, x, y, 10000);
        }
    addEvent(map, 1, 5, 8, "", 0, 2, 0);
    TVudEventPageItem* back = map.Events.Find(1)->Pages.At(0);
    back->Trigger = 1;
    back->Script.Lines = {{10810, 0, "", {1, 8, 13}}, {0, 0}};
}
} // namespace

bool MakeSampleProject(const QString& folder, const QString& programFolder, QString& error)
{
    QDir().mkpath(folder);
    SetProgramFolderForTests(programFolder);
    const bool filled = FillNewProjectFolder(folder, QStringLiteral("La Pradera"));
    SetProgramFolderForTests(QString());
    if (!filled) {
        error = QStringLiteral("the project folder could not be filled from %1").arg(programFolder);
        return false;
    }
    SetCurrentProjectFolder(folder);
    const QString scratch = WithTrailingSeparator(folder) + QStringLiteral(".scratch");
    QDir().mkpath(scratch);
    SetScratchFolder(ToStoragePath(scratch));
    try {
        TVudMapTree tree;
        TVudMap map;
        WriteInitialMapTreeAndMap(tree, map, QStringLiteral("La Pradera"));
        map.LoadFromProject(1);
        paint(map);
        map.SaveToProject(1);
        TVudMapTreeItem* second = tree.AddMap(0, 2);
        second->NodeType = ntMap;
        second->Name = "MAP0002";
        second->MusicType = 1;
        TVudMap field;
        paintSecond(field);
        field.SaveToProject(2);
        tree.StartPosition.Set(TVudMapStartPosition::spParty, 1, TSampleProject::StartX, TSampleProject::StartY);
        tree.SaveToFile();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
        return false;
    }
    QDir(scratch).removeRecursively();
    return true;
}
