#include "GameRunTime.h"

#include "ProgramFolder.h"

QString RunTimeProgram(const QString& projectFolder)
{
    return WithTrailingSeparator(projectFolder) + kRunTimeFileName;
}

QStringList TestPlayArguments(bool showTitle, bool fullScreen)
{
    return {QStringLiteral("TestPlay"), showTitle ? QStringLiteral("ShowTitle") : QStringLiteral("HideTitle"),
            fullScreen ? QStringLiteral("FullScreen") : QStringLiteral("Window")};
}

QStringList BattleTestArguments(bool fullScreen, int troopID)
{
    return {QStringLiteral("BattleTest"), QStringLiteral("HideTitle"),
            fullScreen ? QStringLiteral("FullScreen") : QStringLiteral("Window"), QString::number(troopID)};
}

TRunTimeProcess::TRunTimeProcess(QObject* parent) : QObject(parent)
{
    timer.setInterval(50);
    connect(&timer, &QTimer::timeout, this, &TRunTimeProcess::poll);
}

TRunTimeProcess::~TRunTimeProcess()
{
    // The game outlives a closed editor window only as long as the process object does.
    timer.stop();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
}

bool TRunTimeProcess::Start(const QString& projectFolder, const QStringList& arguments)
{
    if (process.state() != QProcess::NotRunning)
        return false;
    process.setProgram(RunTimeProgram(projectFolder));
    process.setArguments(arguments);
    process.setWorkingDirectory(projectFolder);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(10000))
        return false;
    timer.start();
    return true;
}

bool TRunTimeProcess::Running() const
{
    return process.state() != QProcess::NotRunning;
}

void TRunTimeProcess::poll()
{
    // QProcess learns of the end through the event loop; the poll only reports it.
    if (Running())
        return;
    timer.stop();
    emit Finished();
}
