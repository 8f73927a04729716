#include "MapSetPlace.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "MapPosSetter.h"
#include "MapTreeView.h"
#include "TextCodec.h"
#include "storage/LD_MapTree.h"

TFormMapSetPlace::TFormMapSetPlace(QWidget* owner) : TFormVudBase(owner)
{
    setObjectName("FormMapSetPlace");
    setWindowTitle("Elegir Lugar");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    FTreeView = new TFormMapTree(this);
    FTreeView->setObjectName("MapTreeView");
    FTreeView->SetReadOnly(true);
    FTreeView->setFixedWidth(160);
    FPosSetter = new TFormMapPosSetter(this);
    FPosSetter->setObjectName("MapPosSetter");
    FPosSetter->SetMap(&FMap);
    FTreeView->SetMap(&FMap);
    top->addWidget(FTreeView);
    top->addWidget(FPosSetter, 1);
    layout->addLayout(top, 1);

    auto* bottom = new QHBoxLayout;
    for (int tag = 1; tag <= 3; ++tag) {
        auto* b = new QPushButton(QString("1/%1").arg(1 << (tag - 1)), this);
        b->setObjectName(QString("ButtonZoom%1").arg(tag));
        b->setProperty("tag", tag);
        b->setFixedWidth(40);
        connect(b, &QPushButton::clicked, this, [this, tag] { ButtonZoomClick(tag); });
        bottom->addWidget(b);
    }
    FLabel = new QLabel(this);
    FLabel->setObjectName("LabelPlace");
    bottom->addWidget(FLabel, 1);
    FButtonOk = new QPushButton("Aceptar", this);
    FButtonOk->setObjectName("ButtonOk");
    FButtonOk->setDefault(true);
    auto* cancel = new QPushButton("Cancelar", this);
    cancel->setObjectName("ButtonCancel");
    bottom->addWidget(FButtonOk);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    connect(FButtonOk, &QPushButton::clicked, this, &TFormMapSetPlace::ButtonOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FTreeView, &TFormMapTree::MapSelected, this, &TFormMapSetPlace::mapSelected);
    FPosSetter->OnChange = [this] {
        Cell = FPosSetter->Position();
        updateControls();
    };
    FPosSetter->OnDoubleClick = [this] {
        if (FPosSetter->Position().x() >= 0 && FButtonOk->isEnabled())
            FButtonOk->click();
    };
    FPosSetter->SetCellSize(16);
    resize(556, 301);
}

int TFormMapSetPlace::ZoomCellSize(int tag)
{
    return tag == 1 ? 32 : tag == 3 ? 8 : 16;
}

void TFormMapSetPlace::ButtonZoomClick(int tag)
{
    FPosSetter->SetCellSize(ZoomCellSize(tag));
}

void TFormMapSetPlace::showEvent(QShowEvent* event)
{
    TFormVudBase::showEvent(event);
    if (event->spontaneous() || FShown || !MapTree)
        return;
    FShown = true;
    FSavedActive = MapTree->ActiveMapID;
    const TVudMapTreeItem* given = MapID > 0 ? MapTree->Find(MapID) : nullptr;
    if (given)
        MapTree->ActiveMapID = MapID;
    else if (const TVudMapTreeItem* active = MapTree->ActiveItem(); MapID == 0 && active && active->NodeType == ntArea)
        MapTree->ActiveMapID = active->ParentID;
    if (given && MapTree->ActiveMapID == MapID && Cell.x() >= 0) {
        TVudMapTreeItem* entry = MapTree->Find(MapID);
        entry->ScrollX = Cell.x() * 32 - 160;
        entry->ScrollY = Cell.y() * 32 - 120;
    }
    const QPoint cell = Cell;
    FPosSetter->SetMapTree(MapTree);
    FTreeView->SetMapTree(MapTree);
    FTreeView->SetShowAreas(ShowAreas);
    FTreeView->SetInMemoryMap(EditorMap);
    FTreeView->FillTree();
    if (given && cell.x() >= 0) {
        Cell = cell;
        FPosSetter->SetPosition(cell);
    }
    FTreeView->TreeView()->setEnabled(!Lock);
    if (Lock)
        FTreeView->TreeView()->setStyleSheet("QTreeWidget { background: palette(button); }");
    updateControls();
}

void TFormMapSetPlace::hideEvent(QHideEvent* event)
{
    if (FShown && MapTree && !event->spontaneous()) {
        MapTree->ActiveMapID = FSavedActive;
        FShown = false;
    }
    TFormVudBase::hideEvent(event);
}

void TFormMapSetPlace::mapSelected()
{
    const TVudMapTreeItem* entry = MapTree ? MapTree->ActiveItem() : nullptr;
    if (!entry || entry->NodeType == ntRoot)
        MapID = 0;
    else if (entry->NodeType == ntArea && !ShowAreas)
        MapID = entry->ParentID;
    else
        MapID = entry->ID;
    Cell = {-1, -1};
    FPosSetter->ReloadMap();
    updateControls();
}

void TFormMapSetPlace::updateControls()
{
    const TVudMapTreeItem* entry = MapTree ? MapTree->Find(MapID) : nullptr;
    const bool hasMap = MapID > 0 && entry;
    const bool hasCell = hasMap && Cell.x() >= 0 && Cell.y() >= 0;
    QString text;
    if (hasCell)
        text = QString::asprintf("%.4d:%s (%.3d,%.3d)", MapID, FromCp1252(entry->Name).toUtf8().constData(), Cell.x(), Cell.y());
    else if (hasMap)
        text = QString::asprintf("%.4d:%s", MapID, FromCp1252(entry->Name).toUtf8().constData());
    FLabel->setText(text);
    FButtonOk->setEnabled(hasCell || (!NeedCell && hasMap));
}

void TFormMapSetPlace::ButtonOkClick()
{
    if (FButtonOk->isEnabled())
        accept();
}
