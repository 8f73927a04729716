// The map tree view: the game (root), its maps and the areas inside them, as a tree control.
// Selecting a node loads that map into the one map object the editor shows; every changed map
// waits as a work copy in the scratch folder until SaveAllMaps or RevertAllMaps.
//
// Use from the main window:
//   auto* view = new TFormMapTree(parent);
//   view->SetMapTree(&tree); view->SetMap(&map);          // not owned
//   connect(view, &TFormMapTree::MapSelected, ...);        // reload the editor (KeepPosition())
//   connect(view, &TFormMapTree::MapsModifiedChanged, ...); // enable save/revert
//   connect(view, &TFormMapTree::RepaintOwner, ...);       // finish painting before a change
//   view->LoadMapTree();   // throws EVudError with the Spanish message; the project must not open
//   view->SaveAllMaps();   // throws EVudError when a map could not be saved (it stays marked)
//   view->RevertAllMaps(); view->ClearMapTree(); view->MapsChanged();
//   view->SetPictureSize(size) whenever the editor's map picture changes size.
// Errors that stop one user command (paste of a broken block, a work copy that cannot be
// written while changing maps) are shown through Messages() and change nothing.
#pragma once
#include <QSize>
#include <QTreeWidget>
#include <QWidget>
#include <functional>

class QMenu;
class QAction;
class TVudMap;
class TVudMapTree;
class TVudMapTreeItem;

// The tree control: drops are checked against the map tree's rules and done by the view.
class TMapTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit TMapTreeWidget(QWidget* parent = nullptr);
    std::function<bool(QTreeWidgetItem* dragged, QTreeWidgetItem* target)> CanDrop;
    std::function<void(QTreeWidgetItem* dragged, QTreeWidgetItem* target)> Drop;
    std::function<void(QPoint global)> ContextMenu;

protected:
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class TFormMapTree : public QWidget {
    Q_OBJECT
public:
    explicit TFormMapTree(QWidget* parent = nullptr);

    void SetMapTree(TVudMapTree* tree) { FTree = tree; }
    void SetMap(TVudMap* map) { FMap = map; }
    TVudMapTree* MapTree() const { return FTree; }
    TVudMap* Map() const { return FMap; }
    void SetShowAreas(bool show) { FShowAreas = show; }
    // Read-only views have no menus, no dragging and never write the control back into the tree.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return FReadOnly; }
    // Size of the owner's map picture, for centring areas.
    void SetPictureSize(QSize size) { FPictureSize = size; }
    // Set while the editor reloads after a property change (keep the scroll position).
    bool KeepPosition() const { return FKeepPosition; }
    // A map object standing for map->ID (the place chooser shows the editor's unsaved map).
    void SetInMemoryMap(const TVudMap* map) { FInMemoryMap = map; }

    // Reads TFPLAY.lmt (discarding all work copies), names the root after the game title,
    // fills the control and selects the current map. Throws EVudError.
    void LoadMapTree();
    void SaveAllMaps();
    // Discards every work copy and edit: the tree and the current map as last saved.
    void RevertAllMaps() { LoadMapTree(); }
    void ClearMapTree();
    bool MapsChanged() const;
    void StashCurrentMap();
    // Fills the control from the tree and selects the current map (which loads it).
    void FillTree();
    // Selects the node of this entry (loading its map); false when it is not shown.
    bool SelectNode(int id);
    int SelectedID() const;

    // The popup commands, also for the main window and tests.
    void NewMap();
    void NewArea();
    void CopyMap();
    void PasteMap();
    void DeleteNode();
    void MapProperties();
    void AreaProperties();
    void ShiftMap();
    bool ClipboardHasMap() const;
    // Drag and drop rules and the move itself (ids of entries).
    bool CanDropOn(int dragged, int target) const;
    bool MoveMap(int dragged, int target);

    TMapTreeWidget* TreeView() const { return FTreeView; }
    QMenu* PopupMenu(int kind) const;

signals:
    void MapSelected();
    void MapsModifiedChanged(bool changed);
    void RepaintOwner();

private:
    void buildMenus();
    QTreeWidgetItem* itemOf(int id) const;
    QTreeWidgetItem* addNode(const TVudMapTreeItem& entry, QTreeWidgetItem* parent);
    void selectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void loadMapOf(const TVudMapTreeItem& entry);
    void copyControlBack();
    void updateMenu();
    void notifyModified();
    int mapIDOf(int id) const;
    void showMenu(QPoint global);
    void selectNew(const TVudMapTreeItem& entry, QTreeWidgetItem* parentItem);
    // A fresh node of `type` under `parentID`, made the active one; null when the current map's
    // edits could not be stashed (the error has been shown).
    TVudMapTreeItem* addNode(int parentID, int id, uint8_t type, const std::string& name);
    static void copySettings(TVudMapTreeItem& entry, const TVudMapTreeItem& values);
    void dropOutside(int mapID);

    TMapTreeWidget* FTreeView = nullptr;
    TVudMapTree* FTree = nullptr;
    TVudMap* FMap = nullptr;
    const TVudMap* FInMemoryMap = nullptr;
    bool FShowAreas = true;
    bool FReadOnly = false;
    bool FKeepPosition = false;
    bool FFilling = false;
    bool FLastChanged = false;
    QSize FPictureSize{640, 480};
    QMenu* FMenus[3] = {nullptr, nullptr, nullptr};
    QAction* FPaste[2] = {nullptr, nullptr};
};
