// Not a test: pickers filled from the generated run-time package, saved as pictures (run under
// Xvfb):
//   pickers_screenshot <output folder>
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "SelChar.h"
#include "SelFace.h"
#include "SelMonster.h"
#include "SelSystem.h"

#include <QApplication>
#include <QDir>
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
    return ok ? 0 : 1;
}
