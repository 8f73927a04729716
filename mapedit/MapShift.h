#pragma once
// "Mover Mapa": asks for a direction and a number of tiles; the caller shifts the map.

#include "VudBase.h"

#include <QPoint>

class QRadioButton;
class QSpinBox;

class TFormMapShift : public TFormVudBase {
  Q_OBJECT

public:
  explicit TFormMapShift(int mapWidth, int mapHeight, QWidget* owner = nullptr);

  // The offset of the chosen direction and count: up (0, -n), left (-n, 0), right (n, 0),
  // down (0, n).
  QPoint Offset() const;
  void ButtonOkClick();

  // The choice is remembered until the program ends.
  static void ResetRemembered();

private:
  void updateRange();

  int FWidth, FHeight;
  QRadioButton* FDirections[4];
  QSpinBox* FCount;
};
