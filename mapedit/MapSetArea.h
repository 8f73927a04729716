#pragma once
// "Posición de Area": drag a rectangle of cells on the map. Set the map (and tree), the
// rectangle, exec(), read Area().

#include "VudBase.h"

#include <QRect>

class QLabel;
class QPushButton;
class TFormAreaMaker;
class TVudMap;
class TVudMapTree;

class TFormMapSetArea : public TFormVudBase {
  Q_OBJECT

public:
  explicit TFormMapSetArea(QWidget* owner = nullptr);

  void SetMapTree(TVudMapTree* tree);
  void SetMap(TVudMap* map);
  // Cells, right and bottom exclusive; empty for none.
  void SetArea(const QRect& cells);
  QRect Area() const;

  TFormAreaMaker* AreaMaker() const { return FAreaMaker; }
  QLabel* LabelArea() const { return FLabel; }
  QPushButton* ButtonOk() const { return FButtonOk; }
  // Cell size of the zoom buttons' tags 1, 2, 3.
  static int ZoomCellSize(int tag);
  void ButtonZoomClick(int tag);
  void ButtonOkClick();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void updateControls();

  TFormAreaMaker* FAreaMaker;
  QLabel* FLabel;
  QPushButton* FButtonOk;
  bool FLoaded = false;
};
