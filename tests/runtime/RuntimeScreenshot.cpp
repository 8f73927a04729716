// A picture of the game talking, for docs/screenshots: the sample project, the hero walked up to
// the villager and the decision key pressed. Usage (under Xvfb):
//   runtime_screenshot <output folder> [program folder with RTP/, TFPLAY.exe.dat, TFPLAY.ldb.dat]
// Everything it writes besides the picture goes to a temporary folder.
#include "GameProject.h"
#include "GameWindow.h"
#include "MapScene.h"
#include "RegistryStore.h"
#include "SampleProject.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: runtime_screenshot <output folder> [program folder]\n");
        return 2;
    }
    const QString out = args[1];
    const QString program = args.size() > 2 ? args[2] : QStringLiteral(TF_PROGRAM_DIR);
    QDir().mkpath(out);
    QTemporaryDir tmp;
    QStandardPaths::setTestModeEnabled(true);
    RegistryStore::SetRootForTests(tmp.path() + "/registry");
    WriteRuntimePackagePathValue(program + "/RTP");
    QString error;
    const QString folder = tmp.path() + "/game/";
    if (!MakeSampleProject(folder, program, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    TGameProject game;
    LoadGameProject(game, folder, false);
    InstallGameMaterials(folder);
    TPlayArgs play;
    play.Mode = TPlayArgs::TMode::TestPlay;
    play.ShowTitle = play.FullScreen = false;
    TGameWindow window(game, play);
    window.Start();
    window.show();
    QTest::qWait(200);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Right, Qt::Key_Right}) {
        QTest::keyClick(window.MapScene(), key);
        QTest::qWait(400);
    }
    QTest::keyClick(window.MapScene(), Qt::Key_Return);
    QTest::qWait(300);
    const QString file = out + "/runtime-map-message.png";
    const bool ok = window.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok ? 0 : 1;
}
