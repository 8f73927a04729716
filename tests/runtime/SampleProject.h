// A small game project made the way the editor makes one: the project manager's folder filling
// (templates from the program folder, so TFPLAY.exe is the real run time), its first map tree
// and map, then a map painted through the map model and the paint engine, a few events and the
// party's start position.
#pragma once
#include <QString>

struct TSampleProject {
    static constexpr int MapWidth = 30;
    static constexpr int MapHeight = 20;
    static constexpr int StartX = 8;
    static constexpr int StartY = 11;
    static constexpr int EventCount = 4;
    // Event 4 of map 1, at (8, 14), leads to map 2 (20 x 15) at (5, 7).
};

// Fills `folder` (created when missing) from the templates in `programFolder`. The storage and
// project folders are left pointing at the project. False with `error` set on failure.
bool MakeSampleProject(const QString& folder, const QString& programFolder, QString& error);
