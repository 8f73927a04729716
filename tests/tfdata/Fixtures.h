// The hand-made fixture files: what they hold is written down here once, so the committed files
// can be made again (the disabled WriteFixtures test) and the tests know what to expect.
#pragma once
#include "LD_Map.h"
#include "LD_MapTree.h"

inline void FillFixtureMap(TVudMap& map)
{
    map.Clear();
    map.ChipSetID = 2;
    map.SetWidth(21);
    map.SetHeight(16);
    map.SetScrollType(3);
    map.UsePanorama = 1;
    map.PanoramaName = "Cielo\xE1"; // Windows-1252 á
    map.PanoramaHScroll = 1;
    map.PanoramaHAuto = 1;
    map.PanoramaHSpeed = -3;
    map.SaveCount = 6;
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            map.LowerLayer.Set(x, y, uint16_t(x == 0 ? 4050 + y : 5000 + (x * 7 + y) % 144));
            if ((x + y) % 5 == 0)
                map.UpperLayer.Set(x, y, uint16_t(10000 + (x + y) % 144));
        }

    TVudEventItem* chest = map.Events.Obtain(1);
    chest->Name = "Cofre";
    chest->X = 4;
    chest->Y = 7;
    TVudEventPageItem* p1 = chest->Pages.ItemByID(1);
    p1->CharSetName = "Objetos";
    p1->CharSetIndex = 3;
    p1->Direction = 0;
    p1->Trigger = 0;
    p1->Script.Lines = {
        {10110, 0, "\xA1Hola! \xBFQu\xE9 tal?"},
        {12010, 0, "", {1, 0, 5, -8}},
        {10, 1},
        {0, 0},
    };
    TVudEventPageItem* p2 = chest->Pages.Obtain(2);
    p2->Condition.Flags = TVudEventCondition::cfSwitchA | TVudEventCondition::cfHero;
    p2->Condition.SwitchAID = 12;
    p2->Condition.HeroID = 1;
    p2->Priority = 1;

    TVudEventItem* guard = map.Events.Obtain(3);
    guard->Name = "Guardia";
    guard->X = 20;
    guard->Y = 15;
    TVudEventPageItem* g = guard->Pages.ItemByID(1);
    g->CharSetName = "Soldado";
    g->MoveType = 6;
    g->MoveFrequency = 5;
    g->MoveSpeed = 4;
    g->AnimationType = 1;
    g->MoveRoute.Repeat = 0;
    g->MoveRoute.Skippable = 1;
    TVudMoveRouteItem c;
    c.Code = 0;
    g->MoveRoute.Commands.push_back(c);
    c.Code = mrSwitchOn;
    c.Value = 5;
    g->MoveRoute.Commands.push_back(c);
    c = TVudMoveRouteItem();
    c.Code = mrChangeGraphic;
    c.CharSetName = "Soldado2";
    c.CharSetIndex = 1;
    g->MoveRoute.Commands.push_back(c);
    c = TVudMoveRouteItem();
    c.Code = mrPlaySound;
    c.SoundName = "Paso";
    c.Volume = 80;
    c.Tempo = 110;
    c.Balance = 30;
    g->MoveRoute.Commands.push_back(c);
    TVudMoveRoute inner;
    TVudMoveRouteItem up;
    up.Code = 12;
    inner.Commands = {up, up};
    TVudEventScriptLine route;
    PutMoveRouteInLine(route, kEventHero, 3, inner);
    route.Indent = 0;
    g->Script.Lines = {route, {0, 0}};
}

inline void FillFixtureTree(TVudMapTree& tree)
{
    tree.ClearTree();
    TVudMapTreeItem* root = tree.AddMap(0, 0);
    root->Name = "Mi Juego";
    root->Expanded = 1;
    const struct {
        int parent, id;
        const char* name;
        uint8_t type;
    } nodes[] = {
        {0, 1, "Pueblo", ntMap}, {1, 2, "Posada", ntMap}, {1, 4, "Plaza", ntArea}, {0, 3, "Bosque\xE9", ntMap},
    };
    for (const auto& n : nodes) {
        TVudMapTreeItem* item = tree.AddMap(n.parent, n.id);
        item->Clear();
        item->Name = n.name;
        item->NodeType = n.type;
    }
    TVudMapTreeItem* town = tree.Find(1);
    town->Expanded = 1;
    town->MusicType = 2;
    town->Music.Name = "Pueblo";
    town->Music.FadeIn = 2000;
    town->Music.Volume = 90;
    town->Teleport = town->Escape = town->Save = 1;
    town->BattleBackType = 1;
    town->ScrollX = 320;
    town->ScrollY = 48;
    TVudMapTreeItem* area = tree.Find(4);
    area->AreaRect[0] = 2;
    area->AreaRect[1] = 3;
    area->AreaRect[2] = 9;
    area->AreaRect[3] = 8;
    area->Encounters.Obtain(1)->TroopID = 4;
    TVudMapTreeItem* forest = tree.Find(3);
    forest->BattleBackType = 2;
    forest->BattleBackName = "Bosque";
    forest->EncounterSteps = 0;
    forest->Encounters.Obtain(1)->TroopID = 2;
    forest->Encounters.Obtain(2)->TroopID = 7;
    tree.ActiveMapID = 2;
    tree.StartPosition.Set(TVudMapStartPosition::spParty, 1, 5, 6);
    tree.StartPosition.Set(TVudMapStartPosition::spShip, 3, 0, 19);
}
