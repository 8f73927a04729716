// The uninstaller: removes a game that Setup installed, as its install record TFPLAY.ind
// describes it — the game folder that holds the record, the menu shortcut and the uninstall key.
// Nothing is removed unless every part of the record stays inside its own place.
#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct TSweepPlan {
    QString Title;
    QString GameFolder;   // canonical, without a trailing '/'
    QString ShortcutFile; // absolute; empty when the record names none
    QString UninstallKey; // empty when the record names none
};

// Reads the record. Nothing (and `why` empty) when it has no title; nothing with a reason in
// `why` when any part of it points outside its place.
std::optional<TSweepPlan> ReadSweepPlan(const QString& indPath, QString* why = nullptr);
// Deletes what the plan names; failures are ignored. Links are removed, never followed.
void ExecuteSweepPlan(const TSweepPlan& plan);

// The program: `args` without the program name; `ask` shows the Yes/No question with its caption
// and text and returns true for Yes. Always returns 0.
using TSweepQuestion = std::function<bool(const QString& caption, const QString& text)>;
int SweeperRun(const QStringList& args, const TSweepQuestion& ask);
