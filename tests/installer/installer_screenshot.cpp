// Saves the background window with the start dialog, and the folder chooser, as pictures. Run
// under Xvfb: installer_screenshot <output folder>.
#include "FirstDialog.h"
#include "InstallPath.h"
#include "SetupMain.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QThread>

namespace {
void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(25);
    }
}

bool saveScreen(const QString& file)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const TSetupSettings settings{"LaCuevaDelDragon", "La Cueva del Dragón", 0};
    TFormSetupMain main(settings, out);
    main.show();
    TFormFirstDialog dialog(&main, settings, QStringLiteral("/home/jugador/Taleforge/Juegos/"),
                            {true, true});
    dialog.show();
    settle();
    bool ok = saveScreen(out + QStringLiteral("/installer-setup-start.png"));
    TFormInstallPath chooser(&dialog, QDir::homePath());
    chooser.show();
    settle();
    ok = saveScreen(out + QStringLiteral("/installer-install-path.png")) && ok;
    return ok ? 0 : 1;
}
