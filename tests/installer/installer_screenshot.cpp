// Saves the background window with the start dialog, and the folder chooser, as pictures. Run
// under Xvfb from the build folder: installer_screenshot <output folder>.
#include "FirstDialog.h"
#include "InstallPath.h"
#include "SetupMain.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeView>

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
    // The chooser opens on the games folder of a small sample home, made in the current folder
    // and removed at the end.
    QTemporaryDir sample(QDir::currentPath() + QStringLiteral("/sample-home-XXXXXX"));
    const QString home = sample.path() + QStringLiteral("/jugador");
    for (const char* sub : {"Documentos", "Descargas", "Taleforge/Juegos/Otro juego", "Musica"})
        QDir().mkpath(home + '/' + QLatin1String(sub));
    TFormInstallPath chooser(&dialog, home + QStringLiteral("/Taleforge/Juegos"));
    chooser.show();
    settle();
    auto* tree = chooser.findChild<QTreeView*>(QStringLiteral("TreeFolders"));
    tree->expand(tree->currentIndex());
    settle();
    tree->scrollTo(tree->currentIndex(), QAbstractItemView::PositionAtCenter);
    settle();
    ok = saveScreen(out + QStringLiteral("/installer-install-path.png")) && ok;
    return ok ? 0 : 1;
}
