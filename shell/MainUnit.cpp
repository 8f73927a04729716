#include "MainUnit.h"

#include "AboutBox.h"
#include "AudioCoordinator.h"
#include "HelpService.h"
#include "Hourglass.h"
#include "Materials.h"
#include "MapEditor.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "ProjPack.h"
#include "ScratchFolder.h"
#include "SelMusic.h"
#include "Settings.h"
#include "TestPlay.h"
#include "TextCodec.h"
#include "VudError.h"
#include "storage/DataBase.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <new>

#if __has_include("ChipSelector.h")
#include "ChipSelector.h"
#define TF_HAVE_PALETTE 1
#endif
#if defined(TF_HAVE_MAPTREE)
#include "MapTreeView.h"
#endif

namespace {
const char* const kPlacementName = "FormVudMain";
const char* const kSaveQuestion = "Se guardarán todos los cambios efectuados en los mapas. ¿Continuar?";
const char* const kRevertQuestion = "Se descartarán todos los cambios efectuados en los mapas. ¿Continuar?";
const char* const kMapTreeCorrupt =
    "Los datos del árbol de mapas están corruptos. No se puede leer el proyecto.";
constexpr int kPaneWidth = 214;

// A pane that will hold an embedded view once it exists.
[[maybe_unused]] QWidget* placeholderPane(const char* name, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    w->setAutoFillBackground(true);
    w->setBackgroundRole(QPalette::Base);
    return w;
}

QString modeText(int mode)
{
    switch (mode) {
    case emLower: return QStringLiteral("Modo edición inferior");
    case emUpper: return QStringLiteral("Modo edición superior");
    case emEvents: return QStringLiteral("Edición de Eventos");
    default: return QString();
    }
}
} // namespace

// The pictures of the icons and the splash live in this static library.
static void initResources()
{
    Q_INIT_RESOURCE(MainUnit);
}

namespace {
// Tile sets and character sets are looked up like every material: project, then run-time package.
std::filesystem::path resolveMaterial(const std::string& name, const std::string& folder)
{
    const QString dir = QString::fromStdString(folder);
    const QString file = ResolveMaterialFile(FromCp1252(name), dir, MaterialExtensions(dir));
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return {};
    return ToStoragePath(file);
}

// "Prueba" (F9): the open project in the game, with the two flags of the "Proyecto" menu.
void testPlay(TFormVudMain& w)
{
    TTestPlayHost host;
    host.Owner = &w;
    host.ProjectFolder = CurrentProjectFolder();
    host.ShowTitle = w.Action_GameShowTitle->isChecked();
    host.FullScreen = w.Action_GameFullScreen->isChecked();
    host.MapsChanged = [&w] { return w.MapsChanged(); };
    host.SaveAllMaps = [&w] { w.SaveAllMaps(); };
    host.UpdateActions = [&w] { w.UpdateActions(); };
    StartTestPlay(host);
}

// "Crear Instalación...": the disk carries the project folder, so changed maps are saved first.
void projectPack(TFormVudMain& w)
{
    if (w.MapsChanged()) {
        if (!Messages().WarningYesNo(QString::fromUtf8(kSaveQuestion)))
            return;
        w.SaveAllMaps();
        if (w.MapsChanged())
            return;
    }
    w.UpdateActions();
    TFormProjectPack dialog(&w, CurrentProjectFolder());
    dialog.exec();
}
} // namespace

int CellSizeOfScaleTag(int tag)
{
    switch (tag) {
    case 2: return 16;
    case 3: return 8;
    case 4: return 4;
    default: return 32;
    }
}

int ScaleTagOfCellSize(int cellSize)
{
    switch (cellSize) {
    case 16: return 2;
    case 8: return 3;
    case 4: return 4;
    default: return 1;
    }
}

int StoredZoomOfCellSize(int cellSize) { return ScaleTagOfCellSize(cellSize) - 1; }

int ScaleTagOfStoredZoom(int stored)
{
    return stored >= 1 && stored <= 3 ? stored + 1 : 1;
}

int StoredModeOfEditMode(int mode)
{
    return mode == emUpper ? 1 : mode == emEvents ? 2 : 0;
}

int ModeTagOfStoredMode(int stored)
{
    return stored == 1 ? 2 : stored == 2 ? 3 : 1;
}

TFormVudMain::TFormVudMain(QWidget* parent, bool reopenLast) : QMainWindow(parent)
{
    initResources();
    SetMaterialResolver(resolveMaterial);
    setObjectName(QLatin1String(kPlacementName));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    // Missing IDs, unreadable maps and images are tolerated for the whole run.
    SetLenientMode(true);
    FAudioOpen = OpenAudio();
    FDataBase = std::make_unique<TVudDataBase>();
    ResetScratchFolder();
    FMapTree = std::make_unique<TVudMapTree>();
    FMap = std::make_unique<TVudMap>();

    createActions();
    FMapEditor = new TFormMapEditor(this);
    FMapEditor->setObjectName(QStringLiteral("MapEditor"));
    FMapEditor->SetMapTree(FMapTree.get());
    FMapEditor->SetMap(FMap.get());
    FMapEditor->SetEditMode(emNone);
    FMapEditor->OnCursorMoved = [this](TFormMapEditor*) { CursorMoved(); };
    FMapEditor->OnBrushPicked = [this](TFormMapEditor*) { BrushPicked(); };
    FMapEditor->OnLayerToggled = [this](TFormMapEditor*) { LayerToggled(); };
    FMapEditor->OnScaleChanged = [this](TFormMapViewer*) { ScaleChanged(); };

    QWidget* left = createLeftPanel();
    FMainSplitter = new QSplitter(Qt::Horizontal, this);
    FMainSplitter->setObjectName(QStringLiteral("SplitterMain"));
    FMainSplitter->addWidget(left);
    FMainSplitter->addWidget(FMapEditor);
    FMainSplitter->setChildrenCollapsible(false);
    FMainSplitter->setStretchFactor(1, 1);
    // Present but fixed: the palette decides the left panel's width.
    FMainSplitter->handle(1)->setEnabled(false);
    setCentralWidget(FMainSplitter);
    createMenus();
    createToolBars(left);
    createStatusBar();
    // The left panel is as wide as the palette, or as its tool bar needs.
    const int paneWidth = std::max(kPaneWidth, FToolBar2->sizeHint().width());
    left->setFixedWidth(paneWidth);
    FMainSplitter->setSizes({paneWidth, 4000});

    Action_GameFullScreen->setChecked(ReadFullScreenFlag());
    Action_GameShowTitle->setChecked(ReadShowTitleFlag());

    setMinimumSize(720, 573);
    resize(800, 600);
    restoreGeometry(ReadWindowPlacement(QLatin1String(kPlacementName)));

    FProjectManager = std::make_unique<TProjectManager>(this);
    FProjectManager->OnCreateProject = [this](TProjectManager& m, const QString& t, bool& ok) {
        OnCreateProject(m, t, ok);
    };
    FProjectManager->OnOpenProject = [this](TProjectManager& m, bool& ok) { OnOpenProject(m, ok); };
    FProjectManager->OnCloseProject = [this](TProjectManager& m) { OnCloseProject(m); };
    if (reopenLast)
        FProjectManager->ReopenLastProject();

    FIdleTimer = new QTimer(this);
    connect(FIdleTimer, &QTimer::timeout, this, &TFormVudMain::UpdateActions);
    FIdleTimer->start(200);
    UpdateActions();
}

TFormVudMain::~TFormVudMain()
{
    FIdleTimer->stop();
    if (FAudioOpen)
        CloseAudio();
    FProjectManager.reset();
    // The views reference the map and the tree: let them go first.
    delete FMapEditor;
    FMapEditor = nullptr;
    RemoveScratchFolder();
    FMap.reset();
    FMapTree.reset();
    FDataBase.reset();
    SetMaterialResolver({});
    WriteWindowPlacement(QLatin1String(kPlacementName), saveGeometry());
    WriteFullScreenFlag(Action_GameFullScreen->isChecked());
    WriteShowTitleFlag(Action_GameShowTitle->isChecked());
}

QAction* TFormVudMain::makeAction(const char* name, const QString& caption, const QString& hint,
                                  const QString& icon, std::function<void()> run)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    a->setStatusTip(hint);
    QString tip = caption;
    a->setToolTip(tip.remove(QLatin1Char('&')).remove(QStringLiteral("...")).trimmed());
    if (!icon.isEmpty())
        a->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(icon)));
    if (run) {
        connect(a, &QAction::triggered, this, [this, run] {
            try {
                run();
            } catch (const std::bad_alloc&) {
                Messages().Error(QStringLiteral("Sin memoria"));
                QApplication::exit(1);
            } catch (const std::exception& e) {
                showError(e);
            }
        });
    }
    return a;
}

void TFormVudMain::createActions()
{
    auto group = [this](QActionGroup*& g) {
        g = new QActionGroup(this);
        g->setExclusive(true);
        return g;
    };
    Action_ProjectNew = makeAction("Action_ProjectNew", QStringLiteral("&Nuevo Proyecto..."),
                                   QStringLiteral("Crear un nuevo proyecto"), "new", [this] { ProjectNew(); });
    Action_ProjectOpen = makeAction("Action_ProjectOpen", QStringLiteral("&Abrir Proyecto..."),
                                    QStringLiteral("Abrir un proyecto"), "open", [this] { ProjectOpen(); });
    Action_ProjectClose = makeAction("Action_ProjectClose", QStringLiteral("Cerrar Proyecto"),
                                     QStringLiteral("Cerrar el proyecto actual"), "close",
                                     [this] { ProjectClose(); });
    Action_ProjectPack = makeAction("Action_ProjectPack", QStringLiteral("Crear Instalación..."),
                                    QStringLiteral("Crea la instalación de tu juego para distribuirlo"),
                                    "pack", [this] { projectPack(*this); });
    Action_Exit = makeAction("Action_Exit", QStringLiteral("Sa&lir"), QStringLiteral("Sale de Taleforge Studio"),
                             QString(), [this] { close(); });
    Action_Exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    Action_MapSave = makeAction("Action_MapSave", QStringLiteral("&Guardar MApas..."),
                                QStringLiteral("Guardas los cambios realizados en los mapas"), "save",
                                [this] { MapSave(); });
    Action_MapSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Action_MapRevert = makeAction(
        "Action_MapRevert", QStringLiteral("&Revertir Mapas..."),
        QStringLiteral("Devuelve los mapas al estado de la ultima vez que se guardó el proyecto"), "revert",
        [this] { MapRevert(); });
    Action_MapRevert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

    group(FModeGroup);
    const struct {
        const char* name; const char* caption; const char* hint; const char* icon; Qt::Key key;
    } modes[] = {
        {"Action_MapModeLayer1", "&Modo Inferior", "Para colocar la parte inferior de los ChipSets", "lower", Qt::Key_F5},
        {"Action_MapModeLayer2", "&Modo Edición Superior", "Para la parte superior de los ChipSets", "upper", Qt::Key_F6},
        {"Action_MapModeEvent", "&Editor de Eventos", "Modo editor de Eventos", "event", Qt::Key_F7},
    };
    QAction** modeActions[] = {&Action_MapModeLayer1, &Action_MapModeLayer2, &Action_MapModeEvent};
    for (int i = 0; i < 3; ++i) {
        QAction* a = makeAction(modes[i].name, QString::fromUtf8(modes[i].caption), QString::fromUtf8(modes[i].hint),
                                QLatin1String(modes[i].icon), [this, i] { MapMode(i + 1); });
        a->setShortcut(QKeySequence(modes[i].key));
        a->setCheckable(true);
        a->setData(i + 1);
        FModeGroup->addAction(a);
        *modeActions[i] = a;
    }

    group(FScaleGroup);
    const struct { const char* name; const char* caption; const char* hint; const char* icon; } scales[] = {
        {"Action_MapScale1", "Zoom &1/1", "Zoom Mapa 1/1 (Normal)", "zoom1"},
        {"Action_MapScale2", "Zoom 1/&2", "Zoom Mapa 1/2", "zoom2"},
        {"Action_MapScale3", "Zoom 1/&4", "Zoom Mapa 1/4", "zoom4"},
        {"Action_MapScale4", "Zoom 1/&8", "Zoom Mapa 1/8", "zoom8"},
    };
    QAction** scaleActions[] = {&Action_MapScale1, &Action_MapScale2, &Action_MapScale3, &Action_MapScale4};
    for (int i = 0; i < 4; ++i) {
        QAction* a = makeAction(scales[i].name, QString::fromUtf8(scales[i].caption), QString::fromUtf8(scales[i].hint),
                                QLatin1String(scales[i].icon), [this, i] { MapScale(i + 1); });
        a->setCheckable(true);
        a->setData(i + 1);
        FScaleGroup->addAction(a);
        *scaleActions[i] = a;
    }

    // The database window and the material manager are not built yet: present, never enabled.
    Action_ToolDataBase = makeAction("Action_ToolDataBase", QStringLiteral("&Base de Datos..."),
                                     QStringLiteral("Base de Datos | Crear Personajes, ChipSet, Items, Armas, Magias, etc."),
                                     "database", nullptr);
    Action_ToolDataBase->setShortcut(QKeySequence(Qt::Key_F8));
    Action_ToolMaterial = makeAction("Action_ToolMaterial", QStringLiteral("Gestor de &Archivos..."),
                                     QStringLiteral("Organiza el material de tu proyecto, importar, exportar, etc"),
                                     "material", nullptr);
    Action_ToolSelectMusic = makeAction("Action_ToolSelectMusic", QStringLiteral("&Selector de Musica ..."),
                                        QStringLiteral("Prueba la música de tu proyecto"), "music",
                                        [this] { ToolSelectMusic(); });
    Action_GameTestPlay = makeAction("Action_GameTestPlay", QStringLiteral("Prueba"),
                                     QStringLiteral("Hace una prueba del proyecto"), "play",
                                     [this] { testPlay(*this); });
    Action_GameTestPlay->setShortcut(QKeySequence(Qt::Key_F9));
    Action_GameFullScreen = makeAction("Action_GameFullScreen", QStringLiteral("&Pantalla Completa"),
                                       QStringLiteral("Usa la pantalla Completa en el modo de prueba"),
                                       "fullscreen", nullptr);
    Action_GameFullScreen->setCheckable(true);
    Action_GameShowTitle = makeAction("Action_GameShowTitle", QStringLiteral("Mostrar Titulo"),
                                      QStringLiteral("Mostrar Titulo en el modo de Prueba"), "title", nullptr);
    Action_GameShowTitle->setCheckable(true);
    Action_HelpContents = makeAction("Action_HelpContents", QStringLiteral("Ayuda"), QStringLiteral("Contenidos"),
                                     "help", [this] { HelpContents(); });
    Action_HelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    Action_HelpContents->setShortcutContext(Qt::WindowShortcut);
    Action_HelpAbout = makeAction("Action_HelpAbout", QStringLiteral("Información de la v&ersión..."),
                                  QStringLiteral("Información de la versión 1.51"), QString(), [this] { HelpAbout(); });

    Action_MapToolUndo = makeAction("Action_MapToolUndo", QStringLiteral("Desacer"),
                                    QStringLiteral("Desacer ultima accion"), "undo", [this] {
                                        FMapEditor->Undo();
                                    });
    group(FToolGroup);
    const struct { const char* name; const char* caption; const char* hint; const char* icon; } tools[] = {
        {"Action_MapToolSelect", "Selecionador", "Seleciona una parte de mapa", "select"},
        {"Action_MapToolZoom", "Tamaño", "Aumenta o disminuye como se muestra el  Mapa", "zoomtool"},
        {"Action_MapToolPen", "Lapiz", "Dibuja con un lapiz (Normal)", "pen"},
        {"Action_MapToolRect", "Rectangulo", "Dibujar usando un Rectangulo", "rect"},
        {"Action_MapToolEllipse", "Circunferencia", "Dibuja usando una Circunferencia", "ellipse"},
        {"Action_MapToolSeedFill", "Rellenar", "Rellena un espacio seleccionado", "fill"},
    };
    QAction** toolActions[] = {&Action_MapToolSelect, &Action_MapToolZoom, &Action_MapToolPen,
                               &Action_MapToolRect, &Action_MapToolEllipse, &Action_MapToolSeedFill};
    for (int i = 0; i < 6; ++i) {
        QAction* a = makeAction(tools[i].name, QString::fromUtf8(tools[i].caption), QString::fromUtf8(tools[i].hint),
                                QLatin1String(tools[i].icon), [this, i] { MapTool(i + 1); });
        a->setCheckable(true);
        a->setData(i + 1);
        FToolGroup->addAction(a);
        *toolActions[i] = a;
    }
}

void TFormVudMain::createMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* project = bar->addMenu(QStringLiteral("&Proyecto"));
    project->setObjectName(QStringLiteral("MenuProject"));
    project->addActions({Action_ProjectNew, Action_ProjectOpen, Action_ProjectClose});
    project->addSeparator();
    project->addAction(Action_ProjectPack);
    project->addSeparator();
    project->addAction(Action_Exit);

    QMenu* map = bar->addMenu(QStringLiteral("&Mapa"));
    map->setObjectName(QStringLiteral("MenuMap"));
    map->addActions({Action_MapSave, Action_MapRevert});
    map->addSeparator();
    QMenu* edit = map->addMenu(QStringLiteral("&Editar"));
    edit->addActions(FModeGroup->actions());
    QMenu* scale = map->addMenu(QStringLiteral("&Escala"));
    scale->addActions(FScaleGroup->actions());

    QMenu* tools = bar->addMenu(QStringLiteral("&Herramientas"));
    tools->setObjectName(QStringLiteral("MenuTools"));
    tools->addActions({Action_ToolDataBase, Action_ToolMaterial, Action_ToolSelectMusic});

    QMenu* game = bar->addMenu(QStringLiteral("&Proyecto"));
    game->setObjectName(QStringLiteral("MenuGame"));
    game->addAction(Action_GameTestPlay);
    game->addSeparator();
    game->addAction(Action_GameFullScreen);
    // The menu entry has its own caption; the tool bar button keeps the action's.
    auto* showTitle = game->addAction(QStringLiteral("Mostrar Titulo del &Juego"));
    showTitle->setObjectName(QStringLiteral("MenuGameShowTitle"));
    showTitle->setCheckable(true);
    showTitle->setStatusTip(Action_GameShowTitle->statusTip());
    auto syncTitle = [this, showTitle] {
        showTitle->setChecked(Action_GameShowTitle->isChecked());
        showTitle->setEnabled(Action_GameShowTitle->isEnabled());
    };
    connect(Action_GameShowTitle, &QAction::changed, showTitle, syncTitle);
    connect(showTitle, &QAction::triggered, Action_GameShowTitle, &QAction::setChecked);

    QMenu* help = bar->addMenu(QStringLiteral("&Ayuda"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    help->addAction(Action_HelpContents);
    help->addSeparator();
    help->addAction(Action_HelpAbout);
}

QWidget* TFormVudMain::createLeftPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelLeft"));
    panel->setFixedWidth(kPaneWidth);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FLeftSplitter = new QSplitter(Qt::Vertical, panel);
    FLeftSplitter->setObjectName(QStringLiteral("SplitterLeft"));
    FLeftSplitter->setChildrenCollapsible(false);
#ifdef TF_HAVE_PALETTE
    FPalette = new TFormChipSelector(FLeftSplitter);
    FPalette->setObjectName(QStringLiteral("ChipSelector"));
    FPalette->SetMap(FMap.get(), &FMapEditor->ChipSetGraphic());
    connect(FPalette, &TFormChipSelector::BrushChanged, this, &TFormVudMain::PaletteBrushChanged);
    FChipSelector = FPalette;
#else
    FChipSelector = placeholderPane("ChipSelector", FLeftSplitter);
#endif
#ifdef TF_HAVE_MAPTREE
    FTreeView = new TFormMapTree(FLeftSplitter);
    FTreeView->setObjectName(QStringLiteral("MapTreeView"));
    FTreeView->SetMapTree(FMapTree.get());
    FTreeView->SetMap(FMap.get());
    connect(FTreeView, &TFormMapTree::MapSelected, this, &TFormVudMain::MapSelected);
    connect(FTreeView, &TFormMapTree::MapsModifiedChanged, this, &TFormVudMain::UpdateActions);
    connect(FTreeView, &TFormMapTree::RepaintOwner, this, [this] { FMapEditor->FinishStroke(); });
    FMapTreeView = FTreeView;
#else
    FMapTreeView = placeholderPane("MapTreeView", FLeftSplitter);
#endif
    FChipSelector->setMinimumHeight(52);
    FMapTreeView->setMinimumHeight(52);
    FLeftSplitter->addWidget(FChipSelector);
    FLeftSplitter->addWidget(FMapTreeView);
    FLeftSplitter->setSizes({300, 300});
    layout->addWidget(FLeftSplitter, 1);
    return panel;
}

void TFormVudMain::createToolBars(QWidget* leftPanel)
{
    FToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    FToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    FToolBar1->setMovable(false);
    FToolBar1->setIconSize(QSize(24, 24));
    const QList<QList<QAction*>> groups = {
        {Action_ProjectNew, Action_ProjectOpen, Action_ProjectClose},
        {Action_ProjectPack},
        {Action_MapSave, Action_MapRevert},
        FModeGroup->actions(),
        FScaleGroup->actions(),
        {Action_ToolDataBase, Action_ToolMaterial, Action_ToolSelectMusic},
        {Action_GameTestPlay},
        {Action_GameFullScreen, Action_GameShowTitle},
        {Action_HelpContents},
    };
    for (int i = 0; i < groups.size(); ++i) {
        if (i)
            FToolBar1->addSeparator();
        FToolBar1->addActions(groups[i]);
    }

    FToolBar2 = new QToolBar(QStringLiteral("ToolBar2"), leftPanel);
    FToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    FToolBar2->setIconSize(QSize(24, 24));
    FToolBar2->setMovable(false);
    FToolBar2->addAction(Action_MapToolUndo);
    FToolBar2->addSeparator();
    FToolBar2->addActions(FToolGroup->actions());
    static_cast<QVBoxLayout*>(leftPanel->layout())->insertWidget(0, FToolBar2);
}

void TFormVudMain::createStatusBar()
{
    const int widths[3] = {320, 144, 50};
    for (int i = 0; i < 3; ++i) {
        FPanels[i] = new QLabel(this);
        FPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        FPanels[i]->setMinimumWidth(widths[i]);
        if (i < 2)
            FPanels[i]->setFixedWidth(widths[i]);
        statusBar()->addWidget(FPanels[i], i == 2 ? 1 : 0);
    }
}

QString TFormVudMain::StatusText(int panel) const
{
    return panel >= 0 && panel < 3 ? FPanels[panel]->text() : QString();
}

bool TFormVudMain::event(QEvent* event)
{
    // Hints go to panel 0 instead of replacing the whole status bar.
    if (event->type() == QEvent::StatusTip) {
        if (!QWidget::mouseGrabber())
            FPanels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TFormVudMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && FMapEditor) {
        FMapEditor->FinishStroke();
#ifdef TF_HAVE_PALETTE
        FPalette->FinishPaletteDrag();
#endif
    }
    QMainWindow::changeEvent(event);
}

void TFormVudMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
#ifdef TF_HAVE_MAPTREE
    FTreeView->SetPictureSize(FMapEditor->ClientSize());
#endif
}

void TFormVudMain::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    try {
        mayClose = QueryCloseProject();
    } catch (const std::exception& e) {
        showError(e);
    }
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
}

void TFormVudMain::showError(const std::exception& e)
{
    Messages().Error(QString::fromUtf8(e.what()));
}

// --- Enabled rules -----------------------------------------------------------------------------

void TFormVudMain::UpdateActions()
{
    const bool open = FProjectManager && FProjectManager->Opened();
    const bool changed = open && MapsChanged();
    Action_ProjectNew->setEnabled(!open);
    Action_ProjectOpen->setEnabled(!open);
    Action_ProjectClose->setEnabled(open);
    Action_ProjectPack->setEnabled(open);
    Action_MapSave->setEnabled(changed);
    Action_MapRevert->setEnabled(changed);
    for (QAction* a : FModeGroup->actions())
        a->setEnabled(open);
    for (QAction* a : FScaleGroup->actions())
        a->setEnabled(open);
    Action_ToolDataBase->setEnabled(false);
    Action_ToolMaterial->setEnabled(false);
    Action_ToolSelectMusic->setEnabled(open);
    Action_GameTestPlay->setEnabled(open);
    Action_GameFullScreen->setEnabled(open);
    Action_GameShowTitle->setEnabled(open);
    const int mode = FMapEditor->EditMode();
    Action_MapToolUndo->setEnabled(open && FMapEditor->Engine().UndoManager().Count() > 0);
    const bool layer = open && (mode == emLower || mode == emUpper);
    for (QAction* a : FToolGroup->actions())
        a->setEnabled(layer);
}

// --- Maps: the tree's current map, its work copy and saving ------------------------------------

bool TFormVudMain::MapsChanged() const
{
#ifdef TF_HAVE_MAPTREE
    return FTreeView->MapsChanged();
#else
    return FMap->Modified || FMapTree->IsModified();
#endif
}

void TFormVudMain::stashCurrentMap()
{
#ifdef TF_HAVE_MAPTREE
    FTreeView->StashCurrentMap();
    return;
#endif
    if (!FMap->Modified)
        return;
    TVudMapTreeItem* item = FMapTree->ActiveItem();
    if (item && item->NodeType == ntArea)
        item = FMapTree->ItemByID(item->ParentID);
    if (!item || item->NodeType != ntMap)
        return;
    FMap->SaveWork(item->ID);
    FMap->Modified = false;
    item->Modified = true;
}

void TFormVudMain::SaveAllMaps()
{
#ifdef TF_HAVE_MAPTREE
    FTreeView->SaveAllMaps();
#else
    stashCurrentMap();
    FMapTree->SaveToFile();
#endif
}

void TFormVudMain::loadCurrentMap()
{
    TVudMapTreeItem* item = FMapTree->ActiveItem();
    if (item && item->NodeType == ntArea)
        item = FMapTree->ItemByID(item->ParentID);
    if (!item || item->NodeType != ntMap) {
        FMap->Unload();
    } else {
        try {
            if (item->Modified)
                FMap->LoadWork(item->ID);
            else
                FMap->LoadFromProject(item->ID);
        } catch (const std::exception&) {
            // An unreadable map opens as a new empty one.
            FMap->Clear();
            FMap->ID = item->ID;
        }
        FMap->ReloadChipSet();
        FMap->Modified = false;
    }
    MapSelected();
}

void TFormVudMain::loadMapTree()
{
#ifdef TF_HAVE_MAPTREE
    // Reads the tree, discards the work copies and selects the current map (MapSelected).
    FTreeView->SetPictureSize(FMapEditor->ClientSize());
    FTreeView->LoadMapTree();
    return;
#endif
    FMap->Modified = false;
    try {
        FMapTree->LoadFromFile();
    } catch (const std::exception&) {
        if (!FMapTree->Find(0))
            throw EVudError(kMapTreeCorrupt);
        throw;
    }
    TVudMapTreeItem* root = FMapTree->Find(0);
    if (!root)
        throw EVudError(kMapTreeCorrupt);
    root->Name = ToCp1252(ReadGameTitle(CurrentProjectFolder()));
    loadCurrentMap();
}

void TFormVudMain::refreshPalette()
{
#ifdef TF_HAVE_PALETTE
    FPalette->RefreshPalette();
#endif
}

void TFormVudMain::PaletteBrushChanged()
{
#ifdef TF_HAVE_PALETTE
    const int mode = FMapEditor->EditMode();
    if (mode != emLower && mode != emUpper)
        return;
    FMapEditor->Brush(mode) = FPalette->SelectedBlock();
    FMapEditor->BrushChanged();
#endif
}

void TFormVudMain::clearPaletteSelection()
{
#ifdef TF_HAVE_PALETTE
    FPalette->ShowTile(-1);
#endif
}

// --- Project manager callbacks -----------------------------------------------------------------

void TFormVudMain::OnCreateProject(TProjectManager&, const QString& title, bool& success)
{
    if (!FillNewProjectFolder(CurrentProjectFolder(), title)) {
        success = false;
        return;
    }
    WriteInitialMapTreeAndMap(*FMapTree, *FMap, title);
}

void TFormVudMain::OnOpenProject(TProjectManager&, bool& success)
{
    repaint();
    FMapEditor->CharSetGraphic().ClearAll();
    try {
        FDataBase->LoadFromProject(ToStoragePath(CurrentProjectFolder()));
    } catch (const std::exception&) {
        // Lenient: what could be read stays.
    }
    loadMapTree();
#ifdef TF_HAVE_PALETTE
    FPalette->ResetPalette();
#endif
    const QString folder = CurrentProjectFolder();
    const int mode = ReadMapEditMode(folder);
    const int zoom = ReadMapEditZoom(folder);
    for (QAction* a : FModeGroup->actions() + FScaleGroup->actions())
        a->setEnabled(true);
    MapMode(ModeTagOfStoredMode(mode));
    MapScale(ScaleTagOfStoredZoom(zoom));
    Action_MapToolPen->setEnabled(true);
    MapTool(3);
    success = true;
}

void TFormVudMain::OnCloseProject(TProjectManager&)
{
    FDataBase->Reset();
#ifdef TF_HAVE_MAPTREE
    FTreeView->ClearMapTree();
#else
    FMapTree->ClearTree();
    FMap->Unload();
#endif
    FMap->Modified = false;
    FMapEditor->SetEditMode(emNone);
#ifdef TF_HAVE_PALETTE
    FPalette->SetPaletteMode(emNone);
#endif
    FMapEditor->ChipSetGraphic().SetChipSet(nullptr);
    FMapEditor->ReloadMap();
    for (QAction* a : FModeGroup->actions())
        a->setChecked(false);
    FMapName.clear();
    FPanels[1]->clear();
    FPanels[2]->clear();
}

void TFormVudMain::writeEditSettings()
{
    const QString folder = CurrentProjectFolder();
    WriteMapEditMode(folder, StoredModeOfEditMode(FMapEditor->EditMode()));
    WriteMapEditZoom(folder, StoredZoomOfCellSize(FMapEditor->CellSize()));
}

bool TFormVudMain::QueryCloseProject()
{
    if (!FProjectManager->Opened())
        return true;
    bool result = true;
    try {
        if (MapsChanged()) {
            switch (Messages().Show(MessageIcon::Warning, QString::fromUtf8(kSaveQuestion),
                                    MessageButtons::YesNoCancel)) {
            case MessageAnswer::Yes:
                // A save that fails is shown by the caller and keeps the project open, so no
                // edit is lost silently.
                SaveAllMaps();
                result = !MapsChanged();
                break;
            case MessageAnswer::No:
                break;
            default:
                result = false;
                break;
            }
        } else {
            // Keeps the current map, scroll positions and expanded nodes.
            FMapTree->SaveToFile();
        }
    } catch (...) {
        writeEditSettings();
        throw;
    }
    writeEditSettings();
    return result;
}

// --- Commands ----------------------------------------------------------------------------------

void TFormVudMain::ProjectNew()
{
    FProjectManager->ShowNewProjectDialog();
    UpdateActions();
}

void TFormVudMain::ProjectOpen()
{
    FProjectManager->ShowOpenProjectDialog();
    UpdateActions();
}

void TFormVudMain::ProjectClose()
{
    if (QueryCloseProject())
        FProjectManager->CloseProject();
    UpdateActions();
}

void TFormVudMain::MapSave()
{
    HourglassGuard hourglass;
    SaveAllMaps();
    FMapEditor->ClearUndo();
    UpdateActions();
}

void TFormVudMain::MapRevert()
{
    if (!Messages().Question(QString::fromUtf8(kRevertQuestion)))
        return;
    FMapEditor->Engine().DropSelection();
    FMapEditor->FinishStroke();
    // Reloading the tree discards every work copy; the edited map is forgotten with them.
    FMap->Modified = false;
#ifdef TF_HAVE_MAPTREE
    FTreeView->RevertAllMaps();
#else
    loadMapTree();
#endif
    FMapEditor->ClearUndo();
    UpdateActions();
}

void TFormVudMain::MapMode(int tag)
{
    HourglassGuard hourglass;
    const int mode = tag == 2 ? emUpper : tag == 3 ? emEvents : emLower;
    FMapEditor->SetEditMode(mode);
#ifdef TF_HAVE_PALETTE
    FPalette->SetPaletteMode(mode);
#endif
    FPanels[1]->setText(modeText(mode));
    if (mode == emEvents)
        FMapEditor->ClearUndo();
    FModeGroup->actions().at(tag - 1)->setChecked(true);
    UpdateActions();
}

void TFormVudMain::MapScale(int tag)
{
    HourglassGuard hourglass;
    FMapEditor->SetCellSize(CellSizeOfScaleTag(tag));
    FScaleGroup->actions().at(ScaleTagOfCellSize(FMapEditor->CellSize()) - 1)->setChecked(true);
}

void TFormVudMain::MapTool(int tag)
{
    FMapEditor->SetTool(tag - 1);
    FToolGroup->actions().at(tag - 1)->setChecked(true);
}

void TFormVudMain::ToolSelectMusic()
{
    TFormSelMusic(this).ExecuteListenOnly();
}

void TFormVudMain::HelpContents()
{
    ShowHelp(kHelpContents);
}

void TFormVudMain::HelpAbout()
{
    TFormAboutBox(this).exec();
}

// --- Callbacks of the embedded views -----------------------------------------------------------

void TFormVudMain::MapSelected()
{
    TVudMapTreeItem* item = FMapTree->ActiveItem();
    if (item && item->NodeType == ntArea)
        item = FMapTree->ItemByID(item->ParentID);
    FMapName = item && item->NodeType == ntMap ? FromCp1252(item->Name) : QString();
#ifdef TF_HAVE_MAPTREE
    FMapEditor->KeepPosition = FTreeView->KeepPosition();
#endif
    FMapEditor->ReloadMap();
    FMapEditor->KeepPosition = false;
    refreshPalette();
    CursorMoved();
}

void TFormVudMain::CursorMoved()
{
    const QPoint c = FMapEditor->CursorCell();
    QString text;
    if (!FMapName.isEmpty() && c.x() >= 0 && c.y() >= 0 && c.x() < FMap->LowerLayer.Width &&
        c.y() < FMap->LowerLayer.Height)
        text = FMapName + QStringLiteral(" (%1,%2)").arg(c.x(), 3, 10, QLatin1Char('0')).arg(c.y(), 3, 10, QLatin1Char('0'));
    FPanels[2]->setText(text);
}

void TFormVudMain::BrushPicked()
{
#ifdef TF_HAVE_PALETTE
    const TVudCurrentChip& brush = FMapEditor->Brush(FMapEditor->EditMode());
    if (brush.Width == 1 && brush.Height == 1)
        FPalette->ShowTile(brush.At(0, 0));
    else
        clearPaletteSelection();
#endif
}

void TFormVudMain::LayerToggled()
{
    const int mode = FMapEditor->EditMode();
    MapMode(mode == emUpper ? 2 : mode == emEvents ? 3 : 1);
    clearPaletteSelection();
}

void TFormVudMain::ScaleChanged()
{
    FScaleGroup->actions().at(ScaleTagOfCellSize(FMapEditor->CellSize()) - 1)->setChecked(true);
}
