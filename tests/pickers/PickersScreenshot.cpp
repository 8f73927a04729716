// Not a test: pickers filled from the generated run-time package, saved as pictures (run under
// Xvfb):
//   pickers_screenshot <output folder>
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "SelBackdrop.h"
#include "SelBattle.h"
#include "SelChar.h"
#include "SelChipSet.h"
#include "SelFace.h"
#include "SelGameOver.h"
#include "SelMonster.h"
#include "SelMovie.h"
#include "SelPanorama.h"
#include "SelPicture.h"
#include "SelSystem.h"
#include "SelTitle.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {
bool save(QApplication& app, TFormSelMaterial& form, const QString& folder, const QString& file)
{
    form.show();
    app.processEvents();
    const bool saved = form.grab().save(QDir(folder).filePath(file));
    std::printf("%s %s\n", qPrintable(file), saved ? "saved" : "FAILED");
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : QDir::currentPath();
    QTemporaryDir registry;
    RegistryStore::SetRootForTests(registry.path());
    SetProgramFolderForTests(QStringLiteral(TF_PROGRAM_DIR));

    bool ok = true;
    TFormSelFace face;
    face.SetMaterialName(QStringLiteral("CarasHeroes"));
    face.SetCellIndex(5);
    ok &= save(app, face, out, QStringLiteral("pickers-face.png"));

    TFormSelChar chars;
    chars.SetMaterialName(QStringLiteral("Heroes <RTP>"));
    chars.SetCellIndex(2);
    ok &= save(app, chars, out, QStringLiteral("pickers-char.png"));

    TFormSelMonster monster;
    monster.SetMaterialName(QStringLiteral("Dragon"));
    monster.SetHue(0);
    ok &= save(app, monster, out, QStringLiteral("pickers-monster.png"));

    TFormSelSystem system;
    system.SetMaterialName(QStringLiteral("Sistema"));
    system.SetWallpaper(0);
    system.SetMessageFont(1);
    ok &= save(app, system, out, QStringLiteral("pickers-system.png"));

    // The rest with the first file of their folder.
    TFormSelBattle battle;
    ok &= save(app, battle, out, QStringLiteral("pickers-battle.png"));
    TFormSelBackdrop backdrop;
    ok &= save(app, backdrop, out, QStringLiteral("pickers-backdrop.png"));
    TFormSelPanorama panorama;
    ok &= save(app, panorama, out, QStringLiteral("pickers-panorama.png"));
    TFormSelPicture picture;
    picture.SetMaterialName(QStringLiteral("Mapamundi"));
    ok &= save(app, picture, out, QStringLiteral("pickers-picture.png"));
    TFormSelChipSet chipSet;
    ok &= save(app, chipSet, out, QStringLiteral("pickers-chipset.png"));
    TFormSelTitle title;
    ok &= save(app, title, out, QStringLiteral("pickers-title.png"));
    TFormSelGameOver gameOver;
    ok &= save(app, gameOver, out, QStringLiteral("pickers-gameover.png"));
    // The package has no movies: a project of our own lends a few names.
    QTemporaryDir project;
    QDir(project.path()).mkpath(QStringLiteral("Movie"));
    for (const char* name : {"Apertura.avi", "Batalla final.mpg", "Despedida.avi", "Viaje.mpg"}) {
        QFile file(project.path() + QStringLiteral("/Movie/") + QLatin1String(name));
        ok &= file.open(QIODevice::WriteOnly);
    }
    SetCurrentProjectFolder(project.path());
    TFormSelMovie movie;
    movie.SetMaterialName(QStringLiteral("Despedida"));
    ok &= save(app, movie, out, QStringLiteral("pickers-movie.png"));
    SetCurrentProjectFolder(QString());
    return ok ? 0 : 1;
}
