#include "PlayArgs.h"

#include <gtest/gtest.h>

namespace {
using TMode = TPlayArgs::TMode;

struct TAccepted {
    const char* Line;
    TMode Mode;
    bool ShowTitle, FullScreen;
    int Troop;
};

QStringList words(const char* line)
{
    return QString::fromUtf8(line).split(' ', Qt::SkipEmptyParts);
}
} // namespace

TEST(PlayArgs, AcceptsWhatTheEditorWritesAndTheInstalledStart)
{
    const TAccepted cases[] = {
        {"TestPlay HideTitle Window", TMode::TestPlay, false, false, 0},
        {"TestPlay ShowTitle FullScreen", TMode::TestPlay, true, true, 0},
        {"BattleTest HideTitle Window 5", TMode::BattleTest, false, false, 5},
        {"BattleTest HideTitle FullScreen 9999", TMode::BattleTest, false, true, 9999},
        {"testplay window showtitle", TMode::TestPlay, true, false, 0},
        // The shortcut an installed game gets carries no words: the player's start.
        {"", TMode::Play, true, true, 0},
    };
    for (const TAccepted& c : cases) {
        SCOPED_TRACE(c.Line);
        const TPlayArgsResult r = ParsePlayArgs(words(c.Line));
        ASSERT_TRUE(r.Ok) << r.Error.toStdString();
        EXPECT_EQ(r.Args.Mode, c.Mode);
        EXPECT_EQ(r.Args.ShowTitle, c.ShowTitle);
        EXPECT_EQ(r.Args.FullScreen, c.FullScreen);
        EXPECT_EQ(r.Args.TroopID, c.Troop);
    }
}

TEST(PlayArgs, RefusesLinesItDoesNotUnderstand)
{
    const char* refused[] = {
        "TestPlay",                          // missing title and screen words
        "TestPlay HideTitle",                // missing the screen word
        "HideTitle Window",                  // missing the mode
        "TestPlay HideTitle Window Extra",   // unknown word
        "TestPlay TestPlay HideTitle Window",
        "TestPlay ShowTitle HideTitle Window",
        "BattleTest HideTitle Window",       // no troop
        "BattleTest HideTitle Window 0",     // troop IDs start at 1
        "BattleTest HideTitle Window -3",
        "BattleTest HideTitle Window 12345", // more digits than any troop ID
        "BattleTest HideTitle Window 5 6",
        "TestPlay HideTitle Window 5",       // a troop only goes with a battle test
        "BattleTest HideTitle Window 5x",
    };
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        const TPlayArgsResult r = ParsePlayArgs(words(line));
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.isEmpty());
    }
}
