#include "MapTreeView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_map>

#include "Hourglass.h"
#include "MessageService.h"
#include "Settings.h"
#include "TextCodec.h"
#include "storage/Catalog.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"
#include "storage/VudError.h"

#ifdef TF_HAVE_MAPDIALOGS
#include "ED_Area.h"
#include "ED_Map.h"
#include "MapShift.h"
#endif

namespace {

const char* const kCorrupt = "Los datos del árbol de mapas están corruptos. No se puede leer el proyecto.";
const char* const kNotYet = "Esta función todavía no está disponible.";
const char* const kMapMime = "application/x-taleforge-568";
constexpr int kIDRole = Qt::UserRole;

QString fmtID(const char* pattern, int id)
{
    return QString::asprintf(pattern, id);
}

// Root, map and area icons, drawn once.
QIcon nodeIcon(int kind)
{
    static QIcon icons[3];
    if (icons[kind].isNull()) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        if (kind == ntRoot) {
            p.setBrush(QColor(70, 110, 200));
            p.setPen(QColor(20, 40, 110));
            p.drawEllipse(1, 1, 13, 13);
            p.setPen(QColor(120, 200, 120));
            p.drawLine(4, 6, 11, 6);
            p.drawLine(3, 9, 12, 9);
        } else if (kind == ntMap) {
            p.setBrush(QColor(90, 170, 80));
            p.setPen(QColor(30, 80, 30));
            p.drawRect(1, 2, 13, 11);
            p.drawLine(5, 2, 5, 13);
            p.drawLine(10, 2, 10, 13);
            p.drawLine(1, 7, 14, 7);
        } else {
            p.setBrush(QColor(250, 220, 120));
            p.setPen(QPen(QColor(160, 80, 20), 1, Qt::DashLine));
            p.drawRect(2, 3, 11, 9);
        }
        icons[kind] = QIcon(pm);
    }
    return icons[kind];
}

// A pasted default name follows the new ID; any other name stays.
std::string pastedName(const std::string& name, int id)
{
    if (name.size() != 7 || name.compare(0, 3, "MAP") != 0)
        return name;
    int n = 0;
    for (size_t i = 3; i < 7; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return name;
        n = n * 10 + (name[i] - '0');
    }
    return n > 0 ? fmtID("MAP%.4d", id).toStdString() : name;
}

// The parsed clipboard block: everything is checked before the tree is touched.
struct TMapClip {
    std::string Name;
    std::vector<uint8_t> MapBytes;   // the map record
    std::vector<uint8_t> EntryBytes; // the tree entry record
};

std::vector<uint8_t> encodeMapClip(const std::string& name, const TVudMap& map, const TVudMapTreeItem& entry)
{
    TWriter data;
    WriteBerString(data, name);
    map.SaveToStream(data);
    entry.SaveToStream(data);
    std::vector<uint8_t> block(4);
    const uint32_t n = uint32_t(data.Buf.size());
    for (int i = 0; i < 4; ++i)
        block[size_t(i)] = uint8_t(n >> (8 * i));
    block.insert(block.end(), data.Buf.begin(), data.Buf.end());
    return block;
}

// Throws EReadError for a truncated or forged block.
TMapClip decodeMapClip(const QByteArray& block)
{
    if (block.size() < 4)
        throw EReadError();
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= uint32_t(uint8_t(block[i])) << (8 * i);
    if (n != uint32_t(block.size() - 4))
        throw EReadError();
    TReader s(block.constData() + 4, n);
    TMapClip clip;
    ReadBerString(s, clip.Name);
    const size_t mapStart = s.Pos();
    TVudMap map;
    map.LoadFromStream(s);
    clip.MapBytes.assign(block.constData() + 4 + mapStart, block.constData() + 4 + s.Pos());
    const size_t entryStart = s.Pos();
    TVudMapTreeItem entry;
    entry.LoadFromStream(s);
    if (!s.AtEnd())
        throw EReadError();
    clip.EntryBytes.assign(block.constData() + 4 + entryStart, block.constData() + 4 + s.Pos());
    return clip;
}

} // namespace

// ---- the tree control ---------------------------------------------------------------------

TMapTreeWidget::TMapTreeWidget(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName("TreeView1");
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

void TMapTreeWidget::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (event->source() == this && CanDrop && CanDrop(currentItem(), target))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMapTreeWidget::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    QTreeWidgetItem* dragged = currentItem();
    // The move is done here; the default handling would also drop between items.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (event->source() == this && CanDrop && CanDrop(dragged, target) && Drop)
        Drop(dragged, target);
}

void TMapTreeWidget::contextMenuEvent(QContextMenuEvent* event)
{
    if (!ContextMenu)
        return;
    if (event->reason() == QContextMenuEvent::Keyboard)
        ContextMenu(mapToGlobal(QPoint(0, 0)));
    else
        ContextMenu(event->globalPos());
}

void TMapTreeWidget::mousePressEvent(QMouseEvent* event)
{
    // A right click selects the node under the mouse before its menu opens.
    if (event->button() == Qt::RightButton)
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
    QTreeWidget::mousePressEvent(event);
}

// ---- the view -----------------------------------------------------------------------------

TFormMapTree::TFormMapTree(QWidget* parent) : QWidget(parent)
{
    setObjectName("FormMapTree");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FTreeView = new TMapTreeWidget(this);
    layout->addWidget(FTreeView);
    buildMenus();
    connect(FTreeView, &QTreeWidget::currentItemChanged, this, &TFormMapTree::selectionChanged);
    connect(FTreeView, &QTreeWidget::itemExpanded, this, [this] { copyControlBack(); });
    connect(FTreeView, &QTreeWidget::itemCollapsed, this, [this] { copyControlBack(); });
    FTreeView->CanDrop = [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
        return dragged && target
            && CanDropOn(dragged->data(0, kIDRole).toInt(), target->data(0, kIDRole).toInt());
    };
    FTreeView->Drop = [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
        MoveMap(dragged->data(0, kIDRole).toInt(), target->data(0, kIDRole).toInt());
    };
    FTreeView->ContextMenu = [this](QPoint global) { showMenu(global); };
}

void TFormMapTree::buildMenus()
{
    auto add = [this](QMenu* menu, const char* caption, QKeySequence key, void (TFormMapTree::*slot)()) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    for (int k = 0; k < 3; ++k) {
        FMenus[k] = new QMenu(this);
        FMenus[k]->setObjectName(QString("PopupMenu%1").arg(k + 1));
    }
    add(FMenus[0], "&Nuevo Mapa...", {}, &TFormMapTree::NewMap);
    FPaste[0] = add(FMenus[0], "&Pegar", QKeySequence("Ctrl+V"), &TFormMapTree::PasteMap);
    add(FMenus[1], "Propie&dades del Mapa...", {}, &TFormMapTree::MapProperties);
    add(FMenus[1], "&Nuevo Mapa...", {}, &TFormMapTree::NewMap);
    add(FMenus[1], "N&ueva Area...", {}, &TFormMapTree::NewArea);
    add(FMenus[1], "&Copiar", QKeySequence("Ctrl+C"), &TFormMapTree::CopyMap);
    FPaste[1] = add(FMenus[1], "&Pegar", QKeySequence("Ctrl+V"), &TFormMapTree::PasteMap);
    add(FMenus[1], "&Eliminar...", QKeySequence(Qt::Key_Delete), &TFormMapTree::DeleteNode);
    add(FMenus[1], "Move&r Mapa...", QKeySequence("Ctrl+H"), &TFormMapTree::ShiftMap);
    add(FMenus[2], "P&ropiedades del área...", {}, &TFormMapTree::AreaProperties);
    add(FMenus[2], "&Eliminar...", QKeySequence(Qt::Key_Delete), &TFormMapTree::DeleteNode);
    updateMenu();
}

QMenu* TFormMapTree::PopupMenu(int kind) const
{
    return kind >= 0 && kind < 3 ? FMenus[kind] : nullptr;
}

void TFormMapTree::SetReadOnly(bool readOnly)
{
    FReadOnly = readOnly;
    FTreeView->setDragEnabled(!readOnly);
    FTreeView->setAcceptDrops(!readOnly);
    FTreeView->setDragDropMode(readOnly ? QAbstractItemView::NoDragDrop : QAbstractItemView::InternalMove);
    updateMenu();
}

// Only the menu of the selected node's kind carries live shortcuts.
void TFormMapTree::updateMenu()
{
    const TVudMapTreeItem* entry = FTree ? FTree->Find(SelectedID()) : nullptr;
    const int kind = entry && FTreeView->currentItem() ? entry->NodeType : -1;
    for (int k = 0; k < 3; ++k) {
        for (QAction* a : FMenus[k]->actions())
            FTreeView->removeAction(a);
        if (k == kind && !FReadOnly)
            FTreeView->addActions(FMenus[k]->actions());
    }
    const bool canPaste = ClipboardHasMap();
    FPaste[0]->setEnabled(canPaste);
    FPaste[1]->setEnabled(canPaste);
}

void TFormMapTree::showMenu(QPoint global)
{
    if (FReadOnly || !FTree)
        return;
    const TVudMapTreeItem* entry = FTree->Find(SelectedID());
    if (!entry || entry->NodeType > ntArea)
        return;
    updateMenu();
    FMenus[entry->NodeType]->popup(global);
}

bool TFormMapTree::ClipboardHasMap() const
{
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(kMapMime);
}

// ---- loading, saving, filling -------------------------------------------------------------

void TFormMapTree::LoadMapTree()
{
    FMap->Modified = false;
    try {
        FTree->LoadFromFile();
    } catch (const EVudError&) {
        if (!FTree->Find(0))
            throw EVudError(kCorrupt);
        throw;
    }
    if (!FTree->Find(0))
        throw EVudError(kCorrupt);
    FTree->Find(0)->Name = ToCp1252(ReadGameTitle(CurrentProjectFolder()));
    FillTree();
    notifyModified();
}

void TFormMapTree::SaveAllMaps()
{
    StashCurrentMap();
    try {
        FTree->SaveToFile();
    } catch (...) {
        notifyModified();
        throw;
    }
    notifyModified();
}

void TFormMapTree::ClearMapTree()
{
    FFilling = true;
    FTreeView->clear();
    FFilling = false;
    if (FTree) {
        FTree->ClearTree();
        FTree->DeletedMaps.clear();
        FTree->ActiveMapID = 0;
    }
    if (FMap) {
        FMap->Clear();
        FMap->ID = 0;
        FMap->Modified = false;
    }
    updateMenu();
    emit MapSelected();
    notifyModified();
}

bool TFormMapTree::MapsChanged() const
{
    return (FMap && FMap->Modified) || (FTree && FTree->IsModified());
}

void TFormMapTree::notifyModified()
{
    const bool changed = MapsChanged();
    if (changed != FLastChanged) {
        FLastChanged = changed;
        emit MapsModifiedChanged(changed);
    }
}

int TFormMapTree::mapIDOf(int id) const
{
    const TVudMapTreeItem* entry = FTree->Find(id);
    if (!entry)
        return 0;
    return entry->NodeType == ntArea ? entry->ParentID : entry->ID;
}

void TFormMapTree::StashCurrentMap()
{
    if (!FMap || !FTree || !FMap->Modified)
        return;
    const int id = mapIDOf(FTree->ActiveMapID);
    TVudMapTreeItem* node = FTree->Find(id);
    if (!node || node->NodeType != ntMap)
        return;
    try {
        FMap->SaveWork(id);
    } catch (const EVudError& e) {
        throw EVudError(fmtID("No se pudo escribir la copia de trabajo del mapa %.4d: ", id).toStdString() + e.what());
    }
    node->Modified = true;
}

QTreeWidgetItem* TFormMapTree::addNode(const TVudMapTreeItem& entry, QTreeWidgetItem* parent)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, FromCp1252(entry.Name));
    item->setData(0, kIDRole, entry.ID);
    item->setIcon(0, nodeIcon(entry.NodeType <= ntArea ? int(entry.NodeType) : int(ntMap)));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (entry.NodeType != ntRoot)
        flags |= Qt::ItemIsDragEnabled;
    if (entry.NodeType != ntArea)
        flags |= Qt::ItemIsDropEnabled;
    item->setFlags(flags);
    if (parent)
        parent->addChild(item);
    else
        FTreeView->addTopLevelItem(item);
    return item;
}

void TFormMapTree::FillTree()
{
    FFilling = true;
    FTreeView->setEnabled(false);
    FTreeView->clear();
    std::unordered_map<int, QTreeWidgetItem*> items;
    std::vector<int> ids = FTree->Order;
    for (int i = 0; i < FTree->Count(); ++i)
        if (FTree->OrderIndexOf(FTree->At(i)->ID) < 0)
            ids.push_back(FTree->At(i)->ID);
    std::vector<std::pair<QTreeWidgetItem*, const TVudMapTreeItem*>> expand;
    for (int id : ids) {
        const TVudMapTreeItem* entry = FTree->Find(id);
        if (!entry || items.count(id) || (!FShowAreas && entry->NodeType == ntArea))
            continue;
        const auto parent = items.find(entry->ParentID);
        QTreeWidgetItem* parentItem = entry->ID == 0 || parent == items.end() ? nullptr : parent->second;
        items[id] = addNode(*entry, parentItem);
        expand.emplace_back(items[id], entry);
    }
    for (auto& [item, entry] : expand)
        item->setExpanded(entry->Expanded != 0);
    FTreeView->setEnabled(true);
    FFilling = false;
    int current = FTree->ActiveMapID;
    if (!FShowAreas && FTree->Find(current) && FTree->Find(current)->NodeType == ntArea)
        current = FTree->Find(current)->ParentID;
    QTreeWidgetItem* item = itemOf(current);
    if (!item)
        item = itemOf(0);
    if (item) {
        if (FTreeView->currentItem() == item)
            selectionChanged(item, nullptr);
        else
            FTreeView->setCurrentItem(item);
    }
}

QTreeWidgetItem* TFormMapTree::itemOf(int id) const
{
    for (QTreeWidgetItemIterator it(FTreeView); *it; ++it)
        if ((*it)->data(0, kIDRole).toInt() == id)
            return *it;
    return nullptr;
}

int TFormMapTree::SelectedID() const
{
    QTreeWidgetItem* item = FTreeView->currentItem();
    return item ? item->data(0, kIDRole).toInt() : -1;
}

bool TFormMapTree::SelectNode(int id)
{
    QTreeWidgetItem* item = itemOf(id);
    if (!item)
        return false;
    FTreeView->setCurrentItem(item);
    return SelectedID() == id;
}

void TFormMapTree::copyControlBack()
{
    if (FReadOnly || FFilling || !FTree)
        return;
    std::vector<int32_t> order;
    for (QTreeWidgetItemIterator it(FTreeView); *it; ++it) {
        QTreeWidgetItem* item = *it;
        TVudMapTreeItem* entry = FTree->Find(item->data(0, kIDRole).toInt());
        if (!entry)
            continue;
        int depth = 0;
        for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
            ++depth;
        entry->ParentID = item->parent() ? item->parent()->data(0, kIDRole).toInt() : 0;
        entry->Depth = depth;
        entry->Expanded = item->isExpanded() ? 1 : 0;
        order.push_back(entry->ID);
    }
    // Entries the control does not show (areas hidden) keep their place after the others.
    for (int32_t id : FTree->Order)
        if (std::find(order.begin(), order.end(), id) == order.end())
            order.push_back(id);
    FTree->Order = std::move(order);
}

// ---- selection ----------------------------------------------------------------------------

void TFormMapTree::selectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (FFilling || !current || !FTree || !FMap)
        return;
    HourglassGuard hourglass;
    try {
        StashCurrentMap();
    } catch (const EVudError& e) {
        // The edits stay in the map object; the selection goes back to their map.
        Messages().Error(QString::fromStdString(e.what()));
        if (previous) {
            const QSignalBlocker block(FTreeView);
            FTreeView->setCurrentItem(previous);
        }
        notifyModified();
        return;
    }
    const int id = current->data(0, kIDRole).toInt();
    FTree->ActiveMapID = id;
    TVudMapTreeItem* entry = FTree->Find(id);
    if (entry && entry->NodeType != ntRoot) {
        loadMapOf(*entry);
        if (entry->NodeType == ntArea) {
            entry->ScrollX = (entry->AreaRect[0] + entry->AreaRect[2]) * 16 - FPictureSize.width() / 2;
            entry->ScrollY = (entry->AreaRect[1] + entry->AreaRect[3]) * 16 - FPictureSize.height() / 2;
        }
    } else {
        FMap->Unload();
    }
    updateMenu();
    copyControlBack();
    emit MapSelected();
    notifyModified();
}

void TFormMapTree::loadMapOf(const TVudMapTreeItem& entry)
{
    const int n = entry.NodeType == ntArea ? entry.ParentID : entry.ID;
    const TVudMapTreeItem* node = FTree->Find(n);
    try {
        if (FInMemoryMap && FInMemoryMap->ID == n) {
            auto bytes = FInMemoryMap->SaveToFileBytes();
            TReader s(bytes);
            FMap->LoadFromFileBytes(s);
            FMap->ReloadChipSet();
        } else if (node && node->Modified) {
            FMap->LoadWork(n);
        } else {
            FMap->LoadFromProject(n);
        }
    } catch (const EVudError&) {
        // A missing or unreadable map file opens as a new empty map.
        FMap->Clear();
    }
    FMap->ID = n;
    FMap->Modified = false;
}

// ---- commands -----------------------------------------------------------------------------

void TFormMapTree::selectNew(const TVudMapTreeItem& entry, QTreeWidgetItem* parentItem)
{
    QTreeWidgetItem* item = addNode(entry, parentItem);
    if (parentItem)
        parentItem->setExpanded(true);
    {
        const QSignalBlocker block(FTreeView);
        FTreeView->setCurrentItem(item);
    }
    FTreeView->scrollToItem(item);
    updateMenu();
    copyControlBack();
}

void TFormMapTree::NewMap()
{
    if (FReadOnly || !FTree)
        return;
    const TVudMapTreeItem* selected = FTree->Find(SelectedID());
    if (!selected || selected->NodeType == ntArea)
        return;
    const int id = FTree->FreeMapID();
    if (id == 0)
        return;
    const int parentID = selected->ID;
    TVudMapTreeItem values;
    values.Clear();
    values.Name = fmtID("MAP%.4d", id).toStdString();
    TVudMap mapValues;
    mapValues.Clear();
    mapValues.ChipSetID = selected->NodeType == ntMap ? FMap->ChipSetID : 1;
#ifdef TF_HAVE_MAPDIALOGS
    TFormEDMap form(window());
    form.SetChipSetNames(DataBaseChipSetNames());
    form.SetTroopNames(DataBaseTroopNames());
    form.LoadValues(id, true, parentID == 0, values, mapValues);
    if (form.exec() != QDialog::Accepted)
        return;
    form.StoreEntry(values);
    form.ApplyToMap(mapValues);
#endif
    TVudMapTreeItem* node = addNode(parentID, id, ntMap, values.Name);
    if (!node)
        return;
    copySettings(*node, values);
    selectNew(*node, itemOf(parentID));
    auto bytes = mapValues.SaveToFileBytes();
    TReader reader(bytes);
    FMap->LoadFromFileBytes(reader);
    FMap->ID = id;
    FMap->ReloadChipSet();
    FMap->Modified = true;
    emit MapSelected();
    notifyModified();
}

TVudMapTreeItem* TFormMapTree::addNode(int parentID, int id, uint8_t type, const std::string& name)
{
    emit RepaintOwner();
    try {
        StashCurrentMap();
    } catch (const EVudError& e) {
        Messages().Error(QString::fromStdString(e.what()));
        return nullptr;
    }
    TVudMapTreeItem* node = FTree->AddMap(parentID, id);
    FTree->ActiveMapID = id;
    node->Clear();
    node->NodeType = type;
    node->Name = name;
    return node;
}

void TFormMapTree::NewArea()
{
    if (FReadOnly || !FTree)
        return;
    const TVudMapTreeItem* selected = FTree->Find(SelectedID());
    if (!selected || selected->NodeType != ntMap)
        return;
    const int id = FTree->FreeMapID();
    if (id == 0)
        return;
    const int mapID = selected->ID;
    TVudMapTreeItem values;
    values.Clear();
    values.NodeType = ntArea;
    values.Name = fmtID("AREA%.4d", id).toStdString();
    values.AreaRect[0] = values.AreaRect[1] = 0;
    values.AreaRect[2] = FMap->Width;
    values.AreaRect[3] = FMap->Height;
#ifdef TF_HAVE_MAPDIALOGS
    TFormEDArea form(window());
    form.SetTroopNames(DataBaseTroopNames());
    form.SetMapTree(FTree);
    form.SetMap(FMap);
    form.LoadValues(id, true, values);
    if (form.exec() != QDialog::Accepted)
        return;
    form.StoreEntry(values);
#endif
    TVudMapTreeItem* node = addNode(mapID, id, ntArea, values.Name);
    if (!node)
        return;
    std::copy(std::begin(values.AreaRect), std::end(values.AreaRect), node->AreaRect);
    node->Encounters.Assign(values.Encounters);
    node->Modified = true;
    selectNew(*node, itemOf(mapID));
    emit MapSelected();
    notifyModified();
}

void TFormMapTree::CopyMap()
{
    if (FReadOnly || !FTree)
        return;
    const TVudMapTreeItem* entry = FTree->Find(SelectedID());
    if (!entry || entry->NodeType != ntMap)
        return;
    const auto block = encodeMapClip(entry->Name, *FMap, *entry);
    auto* mime = new QMimeData;
    mime->setData(kMapMime, QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
    QApplication::clipboard()->setMimeData(mime);
    updateMenu();
}

void TFormMapTree::PasteMap()
{
    if (FReadOnly || !FTree)
        return;
    const TVudMapTreeItem* selected = FTree->Find(SelectedID());
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!selected || selected->NodeType == ntArea || !mime || !mime->hasFormat(kMapMime))
        return;
    const int id = FTree->FreeMapID();
    if (id == 0)
        return;
    TMapClip clip;
    try {
        clip = decodeMapClip(mime->data(kMapMime));
    } catch (const EVudError& e) {
        Messages().Error(QString::fromStdString(e.what()));
        return;
    }
    const int parentID = selected->ID;
    emit RepaintOwner();
    try {
        StashCurrentMap();
    } catch (const EVudError& e) {
        Messages().Error(QString::fromStdString(e.what()));
        return;
    }
    TVudMapTreeItem* node = FTree->AddMap(parentID, id);
    const int depth = node->Depth;
    TReader entryReader(clip.EntryBytes);
    node->LoadFromStream(entryReader);
    node->Name = pastedName(clip.Name, id);
    node->ParentID = parentID;
    node->Depth = depth;
    node->NodeType = ntMap;
    node->Expanded = 0;
    FTree->ActiveMapID = id;
    TReader mapReader(clip.MapBytes);
    FMap->LoadFromStream(mapReader);
    FMap->ID = id;
    FMap->ReloadChipSet();
    selectNew(*node, itemOf(parentID));
    try {
        FMap->SaveWork(id);
        node->Modified = true;
    } catch (const EVudError& e) {
        // The map object keeps the pasted map; it is stashed again at the next change.
        FMap->Modified = true;
        Messages().Error(QString::fromStdString(e.what()));
    }
    emit MapSelected();
    notifyModified();
}

void TFormMapTree::DeleteNode()
{
    if (FReadOnly || !FTree)
        return;
    const TVudMapTreeItem* entry = FTree->Find(SelectedID());
    if (!entry || entry->NodeType == ntRoot)
        return;
    const int id = entry->ID;
    const QString text = QString::fromUtf8("Se eliminará \"%1\". ¿Continuar?").arg(FromCp1252(entry->Name));
    if (!Messages().Question(text))
        return;
    QTreeWidgetItem* item = itemOf(id);
    QTreeWidgetItem* parent = item ? item->parent() : nullptr;
    if (parent) {
        FTreeView->setCurrentItem(parent);
        if (SelectedID() == id)
            return; // the map could not be left (its edits could not be stashed)
    }
    delete item;
    FTree->DeleteMap(id);
    copyControlBack();
    updateMenu();
    emit MapSelected();
    notifyModified();
}

void TFormMapTree::MapProperties()
{
    if (FReadOnly || !FTree || !FMap)
        return;
    TVudMapTreeItem* entry = FTree->Find(SelectedID());
    if (!entry || entry->NodeType != ntMap || FMap->ID != entry->ID)
        return;
#ifdef TF_HAVE_MAPDIALOGS
    TFormEDMap form(window());
    form.SetChipSetNames(DataBaseChipSetNames());
    form.SetTroopNames(DataBaseTroopNames());
    form.LoadValues(entry->ID, false, entry->ParentID == 0, *entry, *FMap);
    if (form.exec() != QDialog::Accepted)
        return;
    emit RepaintOwner();
    TVudMapTreeItem values;
    form.StoreEntry(values);
    entry->Name = values.Name;
    copySettings(*entry, values);
    if (QTreeWidgetItem* item = itemOf(entry->ID))
        item->setText(0, FromCp1252(entry->Name));
    form.ApplyToMap(*FMap);
    dropOutside(entry->ID);
    FMap->ReloadChipSet();
    FMap->Modified = true;
    FKeepPosition = true;
    emit MapSelected();
    FKeepPosition = false;
    notifyModified();
#else
    Messages().Information(QString::fromUtf8(kNotYet));
#endif
}

void TFormMapTree::AreaProperties()
{
    if (FReadOnly || !FTree || !FMap)
        return;
    TVudMapTreeItem* entry = FTree->Find(SelectedID());
    if (!entry || entry->NodeType != ntArea)
        return;
#ifdef TF_HAVE_MAPDIALOGS
    TFormEDArea form(window());
    form.SetTroopNames(DataBaseTroopNames());
    form.SetMapTree(FTree);
    form.SetMap(FMap);
    form.LoadValues(entry->ID, false, *entry);
    if (form.exec() != QDialog::Accepted)
        return;
    form.StoreEntry(*entry);
    if (QTreeWidgetItem* item = itemOf(entry->ID))
        item->setText(0, FromCp1252(entry->Name));
    entry->Modified = true;
    emit MapSelected();
    notifyModified();
#else
    Messages().Information(QString::fromUtf8(kNotYet));
#endif
}

void TFormMapTree::ShiftMap()
{
    if (FReadOnly || !FTree || !FMap)
        return;
    TVudMapTreeItem* entry = FTree->Find(SelectedID());
    if (!entry || entry->NodeType != ntMap || FMap->ID != entry->ID || FMap->Width <= 0 || FMap->Height <= 0)
        return;
#ifdef TF_HAVE_MAPDIALOGS
    TFormMapShift form(FMap->Width, FMap->Height, window());
    if (form.exec() != QDialog::Accepted)
        return;
    const QPoint d = form.Offset();
    FMap->Shift(d.x(), d.y());
    // Start positions move with the map, wrapping like its cells.
    auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
    TVudMapStartPosition& start = FTree->StartPosition;
    for (int slot = 0; slot < 4; ++slot)
        if (start.MapID(slot) == entry->ID)
            start.Set(slot, entry->ID, wrap(start.X(slot) + d.x(), FMap->Width), wrap(start.Y(slot) + d.y(), FMap->Height));
    try {
        FMap->SaveWork(entry->ID);
        entry->Modified = true;
    } catch (const EVudError& e) {
        // The shifted map stays in the map object and is stashed at the next change.
        FMap->Modified = true;
        Messages().Error(QString::fromStdString(e.what()));
    }
    emit MapSelected();
    notifyModified();
#else
    Messages().Information(QString::fromUtf8(kNotYet));
#endif
}

// The settings the map properties dialog gives a tree entry (name and place stay).
void TFormMapTree::copySettings(TVudMapTreeItem& entry, const TVudMapTreeItem& values)
{
    entry.MusicType = values.MusicType;
    entry.Music.Assign(values.Music);
    entry.BattleBackType = values.BattleBackType;
    entry.BattleBackName = values.BattleBackName;
    entry.Teleport = values.Teleport;
    entry.Escape = values.Escape;
    entry.Save = values.Save;
    entry.Encounters.Assign(values.Encounters);
    entry.EncounterSteps = values.EncounterSteps;
}

// After a resize: events outside the map go, start positions outside it are unset.
void TFormMapTree::dropOutside(int mapID)
{
    const auto outside = [this](int x, int y) { return x < 0 || y < 0 || x >= FMap->Width || y >= FMap->Height; };
    std::vector<int> gone;
    for (int i = 0; i < FMap->Events.Count(); ++i)
        if (outside(FMap->Events.At(i)->X, FMap->Events.At(i)->Y))
            gone.push_back(FMap->Events.At(i)->ID);
    for (int id : gone)
        FMap->Events.Delete(id);
    TVudMapStartPosition& start = FTree->StartPosition;
    for (int slot = 0; slot < 4; ++slot)
        if (start.MapID(slot) == mapID && outside(start.X(slot), start.Y(slot)))
            start.Set(slot, 0, 0, 0);
}

// ---- drag and drop ------------------------------------------------------------------------

bool TFormMapTree::CanDropOn(int dragged, int target) const
{
    if (FReadOnly || !FTree)
        return false;
    const TVudMapTreeItem* d = FTree->Find(dragged);
    const TVudMapTreeItem* t = FTree->Find(target);
    if (!d || !t || dragged == target || t->NodeType == ntArea || d->NodeType == ntRoot)
        return false;
    if (d->NodeType == ntArea && d->ParentID != target)
        return false;
    for (const TVudMapTreeItem* p = t; p && p->ID != 0; p = FTree->Find(p->ParentID))
        if (p->ParentID == dragged)
            return false;
    return true;
}

bool TFormMapTree::MoveMap(int dragged, int target)
{
    if (!CanDropOn(dragged, target))
        return false;
    QTreeWidgetItem* d = itemOf(dragged);
    QTreeWidgetItem* t = itemOf(target);
    if (!d || !t)
        return false;
    {
        const QSignalBlocker block(FTreeView);
        const bool expanded = d->isExpanded();
        QTreeWidgetItem* from = d->parent();
        from->takeChild(from->indexOfChild(d));
        t->addChild(d);
        d->setExpanded(expanded);
        t->setExpanded(true);
        FTreeView->setCurrentItem(d);
    }
    copyControlBack();
    if (TVudMapTreeItem* root = FTree->Find(0))
        root->Modified = true;
    notifyModified();
    return true;
}
