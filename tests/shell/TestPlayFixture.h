// A project folder with the stand-in game as its TFPLAY.exe, what that game wrote down, and a
// sound side that counts what test play does to it.
#pragma once
#include "TestPlay.h"
#include "TestSandbox.h"

#include <QString>
#include <QStringList>
#include <functional>

struct TFakeGameRecord {
    bool Ran = false;
    QString WorkingFolder;
    QStringList Arguments; // the program first
};

class CountingSound : public TPreviewSound {
public:
    void Release() override;
    void Recreate() override;

    int Released = 0;
    int Recreated = 0;
    // Called at each step, to see what the game had done by then.
    std::function<void()> OnRelease;
    std::function<void()> OnRecreate;
};

class TestPlayTest : public SandboxTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts the stand-in game into the project as TFPLAY.exe.
    void InstallFakeGame();
    TFakeGameRecord Record() const;
    // The game stays running until Release() is called.
    void HoldGame();
    void ReleaseGame();

    QString project;    // with a trailing '/' and spaces in its name
    QString recordPath;
    QString releasePath;
};

// Runs `step` once a modal box is up (polling, so it also works while a process starts).
void WhenModalShows(std::function<void(QWidget*)> step);
