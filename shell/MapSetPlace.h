// The place chooser: a read-only map tree on the left and a cell picker on the right. Event
// command dialogs use it to pick a map and a cell. Fill the inputs, exec(), read MapID and Cell.
#pragma once
#include <QPoint>

#include "VudBase.h"
#include "storage/LD_Map.h"

class QLabel;
class QPushButton;
class TFormMapTree;
class TFormMapPosSetter;
class TVudMapTree;

class TFormMapSetPlace : public TFormVudBase {
    Q_OBJECT
public:
    explicit TFormMapSetPlace(QWidget* owner = nullptr);

    // Inputs (and, after OK, the result in MapID and Cell).
    TVudMapTree* MapTree = nullptr;
    int MapID = 0;             // 0: none
    QPoint Cell{-1, -1};       // -1: none
    bool NeedCell = true;      // OK needs a cell, not only a map
    bool ShowAreas = false;    // areas can be chosen themselves
    const TVudMap* EditorMap = nullptr; // the map being edited, shown with its unsaved changes
    bool Lock = false;         // the map cannot be changed

    TFormMapTree* TreeView() const { return FTreeView; }
    TFormMapPosSetter* PosSetter() const { return FPosSetter; }
    QLabel* LabelPlace() const { return FLabel; }
    QPushButton* ButtonOk() const { return FButtonOk; }
    // Cell size of the zoom buttons' tags 1, 2, 3.
    static int ZoomCellSize(int tag);
    void ButtonZoomClick(int tag);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void mapSelected();
    void updateControls();
    void ButtonOkClick();

    TVudMap FMap; // the picker's own map object
    TFormMapTree* FTreeView;
    TFormMapPosSetter* FPosSetter;
    QLabel* FLabel;
    QPushButton* FButtonOk;
    int FSavedActive = 0;
    bool FShown = false;
};
