#pragma once
// "Encontrarse con": picks the troop of one encounter entry.

#include "VudBase.h"

#include <QStringList>

class QListWidget;
class QPushButton;

class TFormEDMapEncount : public TFormVudBase {
  Q_OBJECT

public:
  // troopNames in ID order; a troop ID beyond the list starts at 1.
  TFormEDMapEncount(const QStringList& troopNames, int troopID, QWidget* owner = nullptr);

  // The chosen troop ID (0 when the database has no troops).
  int TroopID() const;
  void ButtonOkClick();

private:
  QListWidget* FList;
  QPushButton* FButtonOk;
};
