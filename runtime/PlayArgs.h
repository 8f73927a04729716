// The game's command line. The editor starts it with "TestPlay" or "BattleTest", then
// "ShowTitle" or "HideTitle", then "FullScreen" or "Window", and for a battle test the troop ID
// in decimal. A game installed from a disk is started by its shortcut without any word: that is
// the player's own start, with the title screen, full screen.
#pragma once
#include <QString>
#include <QStringList>

struct TPlayArgs {
    enum class TMode { Play, TestPlay, BattleTest };
    TMode Mode = TMode::Play;
    bool ShowTitle = true;
    bool FullScreen = true;
    int TroopID = 0;  // BattleTest only
};

struct TPlayArgsResult {
    bool Ok = false;
    TPlayArgs Args;
    QString Error;  // why the line was refused, for stderr
};

// `words` without the program name. Words are matched without regard to letter case and may
// come in any order; each kind at most once.
TPlayArgsResult ParsePlayArgs(const QStringList& words);
// How the program is used, printed with a refused line.
QString PlayArgsUsage();
