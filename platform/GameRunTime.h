// What the editor fixes about the game run time TFPLAY.exe: where it is, how it is started for a
// test play or a battle test, and that it is waited for by polling. The editor never reads its
// exit code and never talks to the running game.
#pragma once
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

inline const QString kRunTimeFileName = QStringLiteral("TFPLAY.exe");

// <project folder>TFPLAY.exe
QString RunTimeProgram(const QString& projectFolder);
// "TestPlay", "ShowTitle"|"HideTitle", "FullScreen"|"Window".
QStringList TestPlayArguments(bool showTitle, bool fullScreen);
// "BattleTest", "HideTitle", "FullScreen"|"Window", the troop ID in decimal.
QStringList BattleTestArguments(bool fullScreen, int troopID);

// One started run time. Start fails at once or succeeds; Finished is emitted when a 50 ms poll
// finds the process gone.
class TRunTimeProcess : public QObject {
    Q_OBJECT
public:
    explicit TRunTimeProcess(QObject* parent = nullptr);
    ~TRunTimeProcess() override;

    // The program runs with the project folder as its current folder.
    bool Start(const QString& projectFolder, const QStringList& arguments);
    bool Running() const;

signals:
    void Finished();

private:
    void poll();

    QProcess process;
    QTimer timer;
};
