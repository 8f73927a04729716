// The editor's main window: it owns the open project's objects (database, map tree, the one map
// being edited), embeds the map editor, the tile palette and the map tree view, and carries the
// menus, the two tool bars and the status bar. It answers the project manager's callbacks and
// decides when maps are saved or discarded.
#pragma once
#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class TFormChipSelector;
class TFormMapEditor;
class TFormMapTree;
class TProjectManager;
class TVudDataBase;
class TVudMap;
class TVudMapTree;

class TFormVudMain : public QMainWindow {
    Q_OBJECT
public:
    // Creates everything and reopens the last project; `reopenLast` false leaves it closed.
    explicit TFormVudMain(QWidget* parent = nullptr, bool reopenLast = true);
    ~TFormVudMain() override;

    // The save question; true = the project may close (or none is open).
    bool QueryCloseProject();

    // The project manager's callbacks.
    void OnCreateProject(TProjectManager& sender, const QString& title, bool& success);
    void OnOpenProject(TProjectManager& sender, bool& success);
    void OnCloseProject(TProjectManager& sender);

    // Refreshes every command's enabled state (also done while the application is idle).
    void UpdateActions();

    // Maps edited and not yet saved into the project folder.
    bool MapsChanged() const;
    // Moves the edited map into its work copy, then every work copy into the project.
    void SaveAllMaps();

    TProjectManager& ProjectManager() { return *FProjectManager; }
    TVudDataBase& DataBase() { return *FDataBase; }
    TVudMapTree& MapTree() { return *FMapTree; }
    TVudMap& Map() { return *FMap; }
    TFormMapEditor* MapEditor() const { return FMapEditor; }
    TFormChipSelector* Palette() const { return FPalette; }
    TFormMapTree* MapTreeView() const { return FTreeView; }
    QString StatusText(int panel) const;

    // Commands, named after what they do.
    QAction* Action_ProjectNew;
    QAction* Action_ProjectOpen;
    QAction* Action_ProjectClose;
    QAction* Action_ProjectPack;
    QAction* Action_Exit;
    QAction* Action_MapSave;
    QAction* Action_MapRevert;
    QAction* Action_MapModeLayer1;
    QAction* Action_MapModeLayer2;
    QAction* Action_MapModeEvent;
    QAction* Action_MapScale1;
    QAction* Action_MapScale2;
    QAction* Action_MapScale3;
    QAction* Action_MapScale4;
    QAction* Action_ToolDataBase;
    QAction* Action_ToolMaterial;
    QAction* Action_ToolSelectMusic;
    QAction* Action_GameTestPlay;
    QAction* Action_GameFullScreen;
    QAction* Action_GameShowTitle;
    QAction* Action_HelpContents;
    QAction* Action_HelpAbout;
    QAction* Action_MapToolUndo;
    QAction* Action_MapToolSelect;
    QAction* Action_MapToolZoom;
    QAction* Action_MapToolPen;
    QAction* Action_MapToolRect;
    QAction* Action_MapToolEllipse;
    QAction* Action_MapToolSeedFill;

    // Command handlers (the tests run them directly).
    void ProjectNew();
    void ProjectOpen();
    void ProjectClose();
    void MapSave();
    void MapRevert();
    void MapMode(int tag);
    void MapScale(int tag);
    void MapTool(int tag);
    void ToolSelectMusic();
    void HelpContents();
    void HelpAbout();

    // The embedded views' callbacks.
    void MapSelected();
    void CursorMoved();
    void BrushPicked();
    void LayerToggled();
    void ScaleChanged();
    void PaletteBrushChanged();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars(QWidget* leftPanel);
    void createStatusBar();
    QWidget* createLeftPanel();
    QAction* makeAction(const char* name, const QString& caption, const QString& hint,
                        const QString& icon, std::function<void()> run);
    void loadMapTree();
    void loadCurrentMap();
    void stashCurrentMap();
    void refreshPalette();
    void clearPaletteSelection();
    void writeEditSettings();
    void showError(const std::exception& e);

    std::unique_ptr<TVudDataBase> FDataBase;
    std::unique_ptr<TVudMapTree> FMapTree;
    std::unique_ptr<TVudMap> FMap;
    std::unique_ptr<TProjectManager> FProjectManager;
    TFormMapEditor* FMapEditor = nullptr;
    // The palette and the map tree view, or plain panes where they are not built in.
    QWidget* FChipSelector = nullptr;
    QWidget* FMapTreeView = nullptr;
    TFormChipSelector* FPalette = nullptr;
    TFormMapTree* FTreeView = nullptr;
    QSplitter* FLeftSplitter = nullptr;
    QSplitter* FMainSplitter = nullptr;
    QToolBar* FToolBar1 = nullptr;
    QToolBar* FToolBar2 = nullptr;
    QLabel* FPanels[3] = {};
    QActionGroup* FModeGroup = nullptr;
    QActionGroup* FScaleGroup = nullptr;
    QActionGroup* FToolGroup = nullptr;
    QTimer* FIdleTimer = nullptr;
    QString FMapName;
    bool FAudioOpen = false;
};

// The cell size of a zoom command's tag (1..4 → 32, 16, 8, 4) and back (unknown sizes → 1).
int CellSizeOfScaleTag(int tag);
int ScaleTagOfCellSize(int cellSize);
// "MapEditZoom" (0..3) from a cell size, and the zoom tag that a stored value opens with.
int StoredZoomOfCellSize(int cellSize);
int ScaleTagOfStoredZoom(int stored);
// "MapEditMode" (0 lower, 1 upper, 2 events) from an edit mode, and the mode tag it opens with.
int StoredModeOfEditMode(int mode);
int ModeTagOfStoredMode(int stored);
