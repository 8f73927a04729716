// The main window with a project: create, paint, save, close, reopen; the save question; the
// stored edit mode and zoom.
#include "MainUnit.h"
#include "MainUnitFixture.h"
#include "MapEditor.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "TestSandbox.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

#if __has_include("MapTreeView.h")
#include "MapTreeView.h"
#endif
#if __has_include("ChipSelector.h")
#include "ChipSelector.h"
#endif

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr std::uint16_t kGrass = 5010;  // a plain lower tile
constexpr std::uint16_t kTree = 10005;  // an upper tile

class MainProjectTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        base = Path("projects/");
        QDir().mkpath(base);
        WriteProjectBasePath(base);
        WriteTemplates(Path("program"));
        ASSERT_TRUE(ResetScratchFolder());
    }
    // Map 1 as the project folder holds it.
    TVudMap savedMap(const QString& project = "Proyecto1")
    {
        TVudMap map;
        map.LoadFromFileStrict(ToStoragePath(base + project + "/Map0001.lmu"));
        return map;
    }
    void paint(TFormVudMain& w, int modeTag, std::uint16_t tile, QPoint cell)
    {
        w.MapMode(modeTag);
        w.MapEditor()->Brush(w.MapEditor()->EditMode()).SetSingle(tile);
        PaintCellWithMouse(w, cell);
    }
    QString base;
};

TEST_F(MainProjectTest, CreatePaintSaveCloseReopen)
{
    TFormVudMain w(nullptr, false);
    w.show();
    CreateProjectThroughDialog(w, QStringLiteral("La Búsqueda"));
    ASSERT_TRUE(w.ProjectManager().Opened());
    w.UpdateActions();
    EXPECT_FALSE(w.Action_ProjectNew->isEnabled());
    EXPECT_TRUE(w.Action_ProjectClose->isEnabled());
    EXPECT_FALSE(w.Action_MapRevert->isEnabled()) << "nothing changed yet";
    EXPECT_FALSE(w.Action_MapSave->isEnabled());
    EXPECT_TRUE(w.Action_MapModeLayer1->isChecked());
    EXPECT_TRUE(w.Action_MapScale1->isChecked());
    EXPECT_TRUE(w.Action_MapToolPen->isChecked());
    EXPECT_EQ(w.StatusText(1), QStringLiteral("Modo edición inferior"));
    EXPECT_EQ(w.Map().LowerLayer.Width, 100);

    paint(w, 1, kGrass, {2, 3});
    paint(w, 2, kTree, {4, 5});
    EXPECT_EQ(w.Map().LowerLayer.Get(2, 3), kGrass);
    EXPECT_EQ(w.Map().UpperLayer.Get(4, 5), kTree);
    EXPECT_TRUE(w.StatusText(2).startsWith("MAP0001 ("));
    w.UpdateActions();
    EXPECT_TRUE(w.Action_MapRevert->isEnabled());
    EXPECT_TRUE(w.Action_MapToolUndo->isEnabled());

    w.Action_MapSave->trigger();
    EXPECT_EQ(savedMap().LowerLayer.Get(2, 3), kGrass);
    EXPECT_EQ(savedMap().UpperLayer.Get(4, 5), kTree);
    w.UpdateActions();
    EXPECT_FALSE(w.Action_MapSave->isEnabled());

    ScopedMessageService boxes;
    w.Action_ProjectClose->trigger();
    EXPECT_TRUE(boxes.fake.shown.isEmpty()) << "nothing changed since the save: no question";
    EXPECT_FALSE(w.ProjectManager().Opened());
    EXPECT_TRUE(w.StatusText(1).isEmpty());
    EXPECT_EQ(ReadMapEditMode(base + "Proyecto1"), 1) << "closed in upper mode";

    OpenFirstProjectThroughDialog(w);
    ASSERT_TRUE(w.ProjectManager().Opened());
    EXPECT_EQ(w.MapEditor()->EditMode(), emUpper);
    EXPECT_EQ(w.Map().LowerLayer.Get(2, 3), kGrass);
    EXPECT_EQ(w.Map().UpperLayer.Get(4, 5), kTree);
}

#if __has_include("MapTreeView.h")
TEST_F(MainProjectTest, AMapAddedInTheTreeIsPaintedSavedAndReopened)
{
    TFormVudMain w(nullptr, false);
    w.show();
    CreateProjectThroughDialog(w, QStringLiteral("Juego"));
    ASSERT_TRUE(w.ProjectManager().Opened());
    TFormMapTree* tree = w.MapTreeView();
    if (!tree)
        GTEST_SKIP() << "the map tree view is not built in";
    paint(w, 1, kGrass, {2, 2});
    ASSERT_TRUE(tree->SelectNode(1));
    // The new map dialog opens modally: take its defaults.
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            d->accept();
    });
    tree->NewMap();
    const int added = w.MapTree().ActiveMapID;
    ASSERT_EQ(added, 2);
    EXPECT_EQ(w.Map().LowerLayer.Get(2, 2), w.Map().LowerLayer.Get(3, 3)) << "a new empty map is shown";
    paint(w, 2, kTree, {6, 1});
    ASSERT_TRUE(tree->SelectNode(1));
    EXPECT_EQ(w.Map().LowerLayer.Get(2, 2), kGrass) << "map 1 comes back from its work copy";
    w.UpdateActions();
    EXPECT_TRUE(w.Action_MapSave->isEnabled());

    ScopedMessageService boxes;
    boxes.fake.answers = {MessageAnswer::Yes};
    w.Action_ProjectClose->trigger();
    ASSERT_FALSE(w.ProjectManager().Opened());
    EXPECT_TRUE(QFileInfo::exists(base + "Proyecto1/Map0002.lmu"));

    OpenFirstProjectThroughDialog(w);
    ASSERT_TRUE(w.ProjectManager().Opened());
    EXPECT_EQ(w.Map().LowerLayer.Get(2, 2), kGrass);
    ASSERT_TRUE(tree->SelectNode(2));
    EXPECT_EQ(w.Map().UpperLayer.Get(6, 1), kTree);
    EXPECT_TRUE(w.StatusText(2).isEmpty() || w.StatusText(2).startsWith("MAP0002"));
}
#endif

#if __has_include("ChipSelector.h")
TEST_F(MainProjectTest, ThePaletteAndTheBrushFollowEachOther)
{
    MakeProject("Proyecto1", "Juego");
    WriteOpenedProjectFolder("Proyecto1");
    TFormVudMain w;
    TFormChipSelector* palette = w.Palette();
    if (!palette)
        GTEST_SKIP() << "the palette is not built in";
    w.MapMode(2);
    EXPECT_EQ(palette->PaletteMode(), emUpper) << "the mode command switches the palette too";
    palette->SelectPaletteRect(QRect(1, 2, 2, 3));
    emit palette->BrushChanged();
    const TVudCurrentChip& brush = w.MapEditor()->Brush(emUpper);
    EXPECT_EQ(brush.Width, 2);
    EXPECT_EQ(brush.Height, 3);
    EXPECT_EQ(brush.At(1, 2), TFormChipSelector::PaletteTileAt(emUpper, 2, 4));

    // A 1 x 1 pick on the map selects its tile in the palette; a larger one clears the selection.
    const int tile = TFormChipSelector::PaletteTileAt(emUpper, 3, 1);
    w.MapEditor()->Brush(emUpper).SetSingle(std::uint16_t(tile));
    w.BrushPicked();
    EXPECT_EQ(palette->PaletteSelection(), QRect(3, 1, 1, 1));
    w.MapEditor()->Brush(emUpper).SetSize(2, 2);
    w.BrushPicked();
    EXPECT_LT(palette->PaletteSelection().x(), 0);
}
#endif

TEST_F(MainProjectTest, StoredModeAndZoomOpenTheProject)
{
    MakeProject("P", "Juego");
    const struct { int mode, zoom, editMode, cellSize; QAction* TFormVudMain::*modeAction; } cases[] = {
        {2, 7, emEvents, 32, &TFormVudMain::Action_MapModeEvent},
        {1, 2, emUpper, 8, &TFormVudMain::Action_MapModeLayer2},
        {0, 3, emLower, 4, &TFormVudMain::Action_MapModeLayer1},
        {9, 1, emLower, 16, &TFormVudMain::Action_MapModeLayer1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.zoom);
        WriteMapEditMode(base + "P", c.mode);
        WriteMapEditZoom(base + "P", c.zoom);
        WriteOpenedProjectFolder("P");
        TFormVudMain w; // reopens the last project
        ASSERT_TRUE(w.ProjectManager().Opened());
        EXPECT_EQ(w.MapEditor()->EditMode(), c.editMode);
        EXPECT_EQ(w.MapEditor()->CellSize(), c.cellSize);
        EXPECT_TRUE((w.*c.modeAction)->isChecked());
        int checked = 0;
        for (QAction* a : {w.Action_MapScale1, w.Action_MapScale2, w.Action_MapScale3, w.Action_MapScale4})
            checked += a->isChecked();
        EXPECT_EQ(checked, 1) << "the zoom commands are one exclusive group";
        w.UpdateActions();
        EXPECT_EQ(w.Action_MapToolPen->isEnabled(), c.editMode != emEvents);
    }
}

TEST_F(MainProjectTest, AnsweringNoKeepsTheMapsAsLastSavedAndCancelKeepsTheProjectOpen)
{
    MakeProject("Proyecto1", "Juego");
    WriteOpenedProjectFolder("Proyecto1");
    TFormVudMain w;
    w.show();
    ASSERT_TRUE(w.ProjectManager().Opened());
    paint(w, 1, kGrass, {1, 1});
    w.MapScale(2);

    ScopedMessageService boxes;
    boxes.fake.answers = {MessageAnswer::Cancel};
    w.Action_ProjectClose->trigger();
    EXPECT_TRUE(w.ProjectManager().Opened());
    ASSERT_EQ(boxes.fake.shown.size(), 1);
    EXPECT_EQ(boxes.fake.shown[0].text,
              QStringLiteral("Se guardarán todos los cambios efectuados en los mapas. ¿Continuar?"));
    EXPECT_EQ(boxes.fake.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(boxes.fake.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(ReadMapEditZoom(base + "Proyecto1"), 1) << "written also when the close is cancelled";

    boxes.fake.answers = {MessageAnswer::No};
    w.Action_ProjectClose->trigger();
    EXPECT_FALSE(w.ProjectManager().Opened());
    EXPECT_NE(savedMap().LowerLayer.Get(1, 1), kGrass);

    OpenFirstProjectThroughDialog(w);
    EXPECT_NE(w.Map().LowerLayer.Get(1, 1), kGrass);
    EXPECT_EQ(w.MapEditor()->CellSize(), 16);
}

TEST_F(MainProjectTest, RevertDiscardsEveryChangeSinceTheLastSave)
{
    MakeProject("Proyecto1", "Juego");
    WriteOpenedProjectFolder("Proyecto1");
    TFormVudMain w;
    w.show();
    w.UpdateActions();
    EXPECT_FALSE(w.Action_MapRevert->isEnabled());
    paint(w, 1, kGrass, {3, 3});
    w.UpdateActions();
    ASSERT_TRUE(w.Action_MapRevert->isEnabled());

    ScopedMessageService boxes;
    boxes.fake.answers = {MessageAnswer::No};
    w.Action_MapRevert->trigger();
    EXPECT_EQ(w.Map().LowerLayer.Get(3, 3), kGrass) << "No keeps the edits";
    boxes.fake.answers = {MessageAnswer::Yes};
    w.Action_MapRevert->trigger();
    EXPECT_NE(w.Map().LowerLayer.Get(3, 3), kGrass);
    EXPECT_EQ(boxes.fake.shown.last().icon, MessageIcon::Question);
    w.UpdateActions();
    EXPECT_FALSE(w.Action_MapRevert->isEnabled());
    EXPECT_FALSE(w.Action_MapToolUndo->isEnabled());
}

TEST_F(MainProjectTest, AMapSaveThatFailsIsShownAndTheCloseIsCancelled)
{
    MakeProject("Proyecto1", "Juego");
    WriteOpenedProjectFolder("Proyecto1");
    TFormVudMain w;
    w.show();
    paint(w, 1, kGrass, {0, 0});
    // A folder where the map file belongs: the map cannot be written into the project.
    const QString file = base + "Proyecto1/Map0001.lmu";
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkpath(file + "/blocked"));

    ScopedMessageService boxes;
    boxes.fake.answers = {MessageAnswer::Yes};
    w.Action_ProjectClose->trigger();
    EXPECT_TRUE(w.ProjectManager().Opened()) << "the edits would be lost";
    ASSERT_EQ(boxes.fake.shown.size(), 2);
    EXPECT_EQ(boxes.fake.shown[1].icon, MessageIcon::Error);
    boxes.fake.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(w.close()) << "closing the window asks again and is refused again";

    ASSERT_TRUE(QDir(file).removeRecursively());
    boxes.fake.answers = {MessageAnswer::Yes};
    w.Action_ProjectClose->trigger();
    EXPECT_FALSE(w.ProjectManager().Opened());
    EXPECT_EQ(savedMap().LowerLayer.Get(0, 0), kGrass);
}

TEST_F(MainProjectTest, ClosingWithoutChangesStillWritesTheMapTree)
{
    MakeProject("Proyecto1", "Juego");
    WriteOpenedProjectFolder("Proyecto1");
    const QString lmt = base + "Proyecto1/TFPLAY.lmt";
    {
        TFormVudMain w;
        w.show();
        ASSERT_TRUE(w.ProjectManager().Opened());
        QFile::remove(lmt);
        ScopedMessageService boxes;
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(boxes.fake.shown.isEmpty());
    }
    EXPECT_TRUE(QFileInfo::exists(lmt));
    EXPECT_EQ(ReadOpenedProjectFolder(), "Proyecto1") << "ending the editor keeps the last project";
}
} // namespace
