// Saves the game disk dialog as a picture:
//   projectpack_screenshot OUTPUT_FOLDER
// Run under Xvfb. Settings go to a temporary folder, never to the user's.
#include "ProgramFolder.h"
#include "ProjPack.h"
#include "RegistryStore.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: projectpack_screenshot CARPETA\n");
        return 1;
    }
    QTemporaryDir sandbox;
    qputenv("HOME", sandbox.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    RegistryStore::SetRootForTests(sandbox.path() + "/registry");
    const QString out = WithTrailingSeparator(QString::fromLocal8Bit(argv[1]));
    const QString project = sandbox.path() + "/Proyectos/MiJuego/";
    QDir().mkpath(project);
    WriteIncludeRtpOption(true);

    TFormProjectPack pack(nullptr, project);
    pack.show();
    // Only shown: nothing is packed, so the floppy drive need not exist.
    pack.SetDestination(QStringLiteral("/media/floppy/"));
    bool ok = true;
    QTimer::singleShot(1500, [&] {
        ok = pack.grab().save(out + "pack-dialog.png");
        app.quit();
    });
    app.exec();
    return ok ? 0 : 1;
}
