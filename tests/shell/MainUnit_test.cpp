// The main window's frame: menus, tool bars, commands and their rules, without a project.
#include "MainUnit.h"
#include "MapEditor.h"
#include "MessageService.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "TestSandbox.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QCoreApplication>

namespace {
class MainWindowTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        QDir().mkpath(Path("projects"));
        WriteProjectBasePath(Path("projects/"));
    }
};

QStringList captions(const QList<QAction*>& actions)
{
    QStringList list;
    for (QAction* a : actions)
        list << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return list;
}

TEST_F(MainWindowTest, MenusAndToolBarsInTheirOrder)
{
    TFormVudMain w(nullptr, false);
    EXPECT_EQ(w.windowTitle(), ApplicationTitle());
    const QList<QAction*> menus = w.menuBar()->actions();
    EXPECT_EQ(captions(menus), (QStringList{"&Proyecto", "&Mapa", "&Herramientas", "&Proyecto", "&Ayuda"}));
    EXPECT_EQ(captions(menus[0]->menu()->actions()),
              (QStringList{"&Nuevo Proyecto...", "&Abrir Proyecto...", "Cerrar Proyecto", "|",
                           QStringLiteral("Crear Instalación..."), "|", "Sa&lir"}));
    EXPECT_EQ(captions(menus[1]->menu()->actions()),
              (QStringList{"&Guardar MApas...", "&Revertir Mapas...", "|", "&Editar", "&Escala"}));
    EXPECT_EQ(captions(menus[3]->menu()->actions()),
              (QStringList{"Prueba", "|", "&Pantalla Completa", "Mostrar Titulo del &Juego"}));
    EXPECT_EQ(captions(menus[4]->menu()->actions()),
              (QStringList{"Ayuda", "|", QStringLiteral("Información de la v&ersión...")}));

    auto* bar1 = w.findChild<QToolBar*>("ToolBar1");
    auto* bar2 = w.findChild<QToolBar*>("ToolBar2");
    ASSERT_TRUE(bar1 && bar2);
    QStringList names;
    for (QAction* a : bar1->actions())
        names << (a->isSeparator() ? QStringLiteral("|") : a->objectName().mid(7));
    EXPECT_EQ(names.join(' '),
              "ProjectNew ProjectOpen ProjectClose | ProjectPack | MapSave MapRevert | MapModeLayer1 "
              "MapModeLayer2 MapModeEvent | MapScale1 MapScale2 MapScale3 MapScale4 | ToolDataBase "
              "ToolMaterial ToolSelectMusic | GameTestPlay | GameFullScreen GameShowTitle | HelpContents");
    names.clear();
    for (QAction* a : bar2->actions())
        names << (a->isSeparator() ? QStringLiteral("|") : a->objectName().mid(7));
    EXPECT_EQ(names.join(' '), "MapToolUndo | MapToolSelect MapToolZoom MapToolPen MapToolRect MapToolEllipse "
                               "MapToolSeedFill");
    for (QAction* a : bar1->actions() + bar2->actions())
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().pixmap(24).isNull()) << a->objectName().toStdString();
        }

    const struct { QAction* action; QKeySequence key; } keys[] = {
        {w.Action_Exit, QKeySequence("Alt+F4")}, {w.Action_MapSave, QKeySequence("Ctrl+S")},
        {w.Action_MapRevert, QKeySequence("Ctrl+R")}, {w.Action_MapModeLayer1, QKeySequence("F5")},
        {w.Action_MapModeLayer2, QKeySequence("F6")}, {w.Action_MapModeEvent, QKeySequence("F7")},
        {w.Action_ToolDataBase, QKeySequence("F8")}, {w.Action_GameTestPlay, QKeySequence("F9")},
        {w.Action_HelpContents, QKeySequence("F1")},
    };
    for (const auto& k : keys)
        EXPECT_EQ(k.action->shortcut(), k.key) << k.action->objectName().toStdString();
}

TEST_F(MainWindowTest, WithoutAProjectOnlyTheProjectAndHelpCommandsWork)
{
    TFormVudMain w(nullptr, false);
    w.UpdateActions();
    for (QAction* a : {w.Action_ProjectNew, w.Action_ProjectOpen, w.Action_Exit, w.Action_HelpContents,
                       w.Action_HelpAbout})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a : {w.Action_ProjectClose, w.Action_ProjectPack, w.Action_MapSave, w.Action_MapRevert,
                       w.Action_MapModeLayer1, w.Action_MapScale1, w.Action_ToolDataBase,
                       w.Action_ToolMaterial, w.Action_ToolSelectMusic, w.Action_GameTestPlay,
                       w.Action_GameFullScreen, w.Action_MapToolUndo, w.Action_MapToolPen})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(w.QueryCloseProject());
}

TEST_F(MainWindowTest, HintsGoToTheFirstStatusPanel)
{
    TFormVudMain w(nullptr, false);
    QStatusTipEvent tip(w.Action_MapSave->statusTip());
    QCoreApplication::sendEvent(&w, &tip);
    EXPECT_EQ(w.StatusText(0), "Guardas los cambios realizados en los mapas");
    EXPECT_EQ(w.findChild<QLabel*>("StatusPanel0")->width(), 320);
    EXPECT_EQ(w.findChild<QLabel*>("StatusPanel1")->width(), 144);
}

TEST_F(MainWindowTest, PlacementAndTestPlayFlagsOutliveTheWindow)
{
    WriteFullScreenFlag(true);
    WriteShowTitleFlag(false);
    {
        TFormVudMain w(nullptr, false);
        EXPECT_TRUE(w.Action_GameFullScreen->isChecked());
        EXPECT_FALSE(w.Action_GameShowTitle->isChecked());
        w.Action_GameShowTitle->setChecked(true);
        w.resize(900, 700);
        EXPECT_GE(w.minimumWidth(), 720);
        EXPECT_GE(w.minimumHeight(), 573);
    }
    EXPECT_FALSE(ReadWindowPlacement("FormVudMain").isEmpty());
    EXPECT_TRUE(ReadShowTitleFlag());
    EXPECT_FALSE(QDir(ScratchFolderPath()).exists()) << "the work folder goes with the window";
    TFormVudMain again(nullptr, false);
    EXPECT_EQ(again.size(), QSize(900, 700));
}

TEST_F(MainWindowTest, StoredEditSettingsMapToCommands)
{
    const struct { int stored, zoomTag, cellSize, modeTag; } cases[] = {
        {0, 1, 32, 1}, {1, 2, 16, 2}, {2, 3, 8, 3}, {3, 4, 4, 1}, {7, 1, 32, 1}, {-1, 1, 32, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleTagOfStoredZoom(c.stored), c.zoomTag) << c.stored;
        EXPECT_EQ(ModeTagOfStoredMode(c.stored), c.modeTag) << c.stored;
        if (c.stored >= 0 && c.stored <= 3) {
            EXPECT_EQ(StoredZoomOfCellSize(c.cellSize), c.stored);
        }
    }
    EXPECT_EQ(StoredModeOfEditMode(emNone), 0) << "no mode is stored as lower";
    EXPECT_EQ(StoredModeOfEditMode(emEvents), 2);
}
} // namespace
