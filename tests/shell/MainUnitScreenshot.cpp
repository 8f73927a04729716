// Pictures for docs/screenshots: the main window with a project open and a painted map, the
// splash and the about box. Usage (under Xvfb):
//   mainunit_screenshot <output folder> <program folder with RTP/ and TFPLAY.ldb.dat>
// Everything the editor writes goes to a temporary folder.
#include "AboutBox.h"
#include "MainUnit.h"
#include "MapEditor.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "SingleInstance.h"
#include "Splash.h"
#include "storage/LD_Map.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {
void paintLandscape(TFormVudMain& w)
{
    TFormMapEditor* editor = w.MapEditor();
    TMapPaintEngine& engine = editor->Engine();
    TVudMap& map = w.Map();
    for (int y = 0; y < map.LowerLayer.Height; ++y)
        for (int x = 0; x < map.LowerLayer.Width; ++x)
            map.SetCell(0, x, y, 4000);
    engine.Layer = emLower;
    // A lake, a dirt road and a field of flowers, shaped by the paint engine.
    for (int y = 3; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            if (EllipseCell(10, 7, x - 10, y - 3))
                engine.PaintBrushCell(x, y, 0);
    for (int x = 0; x < 24; ++x)
        for (int y = 11; y < 13; ++y)
            engine.PaintBrushCell(x, y, 4050);
    for (int y = 13; y < 15; ++y)
        engine.PaintBrushCell(7, y, 4050), engine.PaintBrushCell(8, y, 4050);
    for (int y = 2; y < 6; ++y)
        for (int x = 1; x < 6; ++x)
            engine.PaintBrushCell(x, y, 4150);
    // Trees and a few props on the upper layer.
    const int trees[][2] = {{2, 7}, {5, 8}, {21, 3}, {23, 6}, {13, 14}, {17, 15}, {1, 15}, {20, 9}};
    for (const auto& t : trees) {
        map.SetCell(1, t[0], t[1], 10012);
        map.SetCell(1, t[0] + 1, t[1], 10013);
        map.SetCell(1, t[0], t[1] + 1, 10018);
        map.SetCell(1, t[0] + 1, t[1] + 1, 10019);
    }
    for (int x = 9; x < 14; ++x)
        map.SetCell(1, x, 14, 10007);
    editor->RedrawAll();
}

bool grab(QWidget* w, const QString& file)
{
    QTest::qWait(300);
    const bool ok = w->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: mainunit_screenshot <output folder> <program folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString materials = WithTrailingSeparator(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out);
    QTemporaryDir tmp;
    QStandardPaths::setTestModeEnabled(true);
    RegistryStore::SetRootForTests(tmp.path() + "/registry");
    SetScratchParentForTests(tmp.path());
    ResetScratchFolder();
    SingleInstance::SetFolderForTests(tmp.path());
    SetMessageService(new ScriptedMessageService);
    const QString program = tmp.path() + "/program/";
    WriteTemplates(program);
    QFile::remove(program + "TFPLAY.ldb.dat");
    QFile::copy(materials + "TFPLAY.ldb.dat", program + "TFPLAY.ldb.dat");
    SetProgramFolderForTests(program);
    WriteRuntimePackagePathValue(materials + "RTP");
    QDir().mkpath(tmp.path() + "/projects");
    WriteProjectBasePath(tmp.path() + "/projects/");
    MakeProject("Proyecto1", QStringLiteral("La Leyenda del Faro"));
    WriteOpenedProjectFolder("Proyecto1");
    SetApplicationTitle(QStringLiteral("Taleforge StudioV"));

    bool ok = true;
    {
        TFormVudMain w;
        w.resize(1024, 720);
        w.show();
        QTest::qWait(200);
        paintLandscape(w);
        w.MapMode(1);
        w.UpdateActions();
        QTest::mouseMove(w.MapEditor()->PaintBox(), w.MapEditor()->CellRectToPixels(QRect(8, 6, 1, 1)).center());
        ok &= grab(&w, out + "/main-window.png");
        TFormAboutBox about(&w);
        about.show();
        ok &= grab(&about, out + "/about-box.png");
    }
    TFormSplash splash;
    splash.show();
    ok &= grab(&splash, out + "/splash.png");
    return ok ? 0 : 1;
}
