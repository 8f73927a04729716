// TFPLAY: the game run time. The editor starts it in the project folder with
//   TestPlay|BattleTest ShowTitle|HideTitle FullScreen|Window [troop ID]
// and a game installed from a disk is started without any word.
//
// Exit status: 0 when the player quits (Esc, "Salir", closing the window), 1 when a project
// file cannot be loaded or there is no display, 2 for a command line it does not understand.
//
// For tests, each scene prints one line on stdout when it is ready; the first one is
//   TFPLAY: project "<folder>", map 0001 (20x15), hero at (4,5), 3 events
//   TFPLAY: project "<folder>", title screen
//   TFPLAY: project "<folder>", battle test, troop 0001
// Two environment variables are test hooks only (players never need them):
//   TFPLAY_EXIT_AFTER_MS=<ms>   ends the game by itself with status 0 after that time;
//   TFPLAY_SCREENSHOT=<file>    saves the window as a PNG once the first scene is drawn.
#include "AudioCoordinator.h"
#include "GameProject.h"
#include "GameWindow.h"
#include "PlayArgs.h"
#include "Settings.h"
#include "VudError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {
void printLine(FILE* to, const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

// Without a display Qt cannot open a window; the game then only reports on stderr.
bool haveDisplay()
{
#ifdef Q_OS_LINUX
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// The editor starts the game in the project folder. A shortcut may start it elsewhere: the
// folder the program lies in is then the game's.
QString gameFolder()
{
    const QString current = QDir::currentPath();
    if (QFileInfo::exists(current + QStringLiteral("/TFPLAY.ldb")))
        return current;
    const QString own = QCoreApplication::applicationDirPath();
    return QFileInfo::exists(own + QStringLiteral("/TFPLAY.ldb")) ? own : current;
}

bool loadProject(TGameProject& project, const TPlayArgs& args, QString& error)
{
    try {
        LoadGameProject(project, gameFolder(), args.Mode == TPlayArgs::TMode::BattleTest);
        return true;
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
        return false;
    }
}

// Installed before anything can wait for the player, so a test never hangs on a message box.
void installExitHook()
{
    bool ok = false;
    const int exitAfter = qEnvironmentVariableIntValue("TFPLAY_EXIT_AFTER_MS", &ok);
    if (ok && exitAfter >= 0)
        QTimer::singleShot(exitAfter, qApp, [] { QCoreApplication::exit(0); });
}

void installScreenshotHook(TGameWindow& window)
{
    const QString shot = qEnvironmentVariable("TFPLAY_SCREENSHOT");
    if (shot.isEmpty())
        return;
    // Taken a little after the first frame so the window has been laid out and painted.
    QTimer::singleShot(300, &window, [&window, shot] {
        if (!window.grab().save(shot, "PNG"))
            printLine(stderr, QStringLiteral("TFPLAY: no se pudo guardar la captura %1").arg(shot));
    });
}

// Sound is a nicety: each part that cannot be opened leaves the game silent in that part.
void openSound()
{
    if (OpenAudio()) {
        OpenMidi();
        OpenWaveVoices();
    }
}
} // namespace

int main(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const TPlayArgsResult parsed = ParsePlayArgs(words);
    if (!parsed.Ok) {
        printLine(stderr, QStringLiteral("TFPLAY: %1\n%2").arg(parsed.Error, PlayArgsUsage()));
        return 2;
    }
    const TPlayArgs& args = parsed.Args;

    if (!haveDisplay()) {
        QCoreApplication app(argc, argv);
        TGameProject project;
        QString error;
        if (!loadProject(project, args, error))
            printLine(stderr, QStringLiteral("TFPLAY: %1").arg(error));
        else
            printLine(stderr, QStringLiteral("TFPLAY: no hay pantalla donde mostrar el juego."));
        return 1;
    }

    QApplication app(argc, argv);
    installExitHook();
    TGameProject project;
    QString error;
    if (!loadProject(project, args, error)) {
        printLine(stderr, QStringLiteral("TFPLAY: %1").arg(error));
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
            QMessageBox::critical(nullptr, ReadGameTitle(gameFolder()), error);
        return 1;
    }
    // The data is in; a picture that cannot be read from now on is drawn empty.
    SetLenientMode(true);
    InstallGameMaterials(project.Folder);
    openSound();

    int status = 0;
    {
        TGameWindow window(project, args);
        QObject::connect(&window, &TGameWindow::SceneReady, [](const QString& line) { printLine(stdout, line); });
        window.Start();
        if (args.FullScreen) {
            // Without a window manager the full-screen request alone changes nothing.
            if (const QScreen* screen = QGuiApplication::primaryScreen())
                window.setGeometry(screen->geometry());
            window.showFullScreen();
        }
        else
            window.show();
        installScreenshotHook(window);
        status = app.exec();
    }
    CloseAudio();
    return status;
}
