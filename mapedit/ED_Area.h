#pragma once
// The area dialog "Propiedades de la área" (also "Nueva área"): name, rectangle and encounters.
//
// Use from the map tree view:
//   TFormEDArea form(owner);
//   form.SetTroopNames(...); form.SetMapTree(&tree); form.SetMap(&map);
//   form.LoadValues(id, isNew, entry);
//   if (form.exec() == QDialog::Accepted) form.StoreEntry(entry);

#include "VudBase.h"

#include <QRect>
#include <QString>

class QLineEdit;
class TEncounterList;
class TVudMap;
class TVudMapTree;
class TVudMapTreeItem;

// "(%.3d,%.3d) - (%.3d,%.3d)" with the inclusive corners of a cell rectangle; empty for an
// empty rectangle.
QString AreaRectText(const QRect& cells);
// The stored rectangle (left, top, right, bottom; right and bottom exclusive) and back.
QRect AreaRectOf(const TVudMapTreeItem& entry);
void StoreAreaRect(TVudMapTreeItem& entry, const QRect& cells);

class TFormEDArea : public TFormVudBase {
  Q_OBJECT

public:
  explicit TFormEDArea(QWidget* owner = nullptr);

  void SetTroopNames(const QStringList& names);
  // The map the rectangle picker shows and the tree whose scroll offsets it borrows.
  void SetMapTree(TVudMapTree* tree) { FTree = tree; }
  void SetMap(TVudMap* map) { FMap = map; }
  void LoadValues(int areaID, bool newArea, const TVudMapTreeItem& entry);
  // After OK: name, rectangle and encounters.
  void StoreEntry(TVudMapTreeItem& entry) const;

  QRect Area() const { return FArea; }
  void SetArea(const QRect& cells);
  // Opens the rectangle picker on the map.
  void AreaBoxClick();
  void ButtonOkClick();
  void ButtonHelpClick();

private:
  TVudMapTree* FTree = nullptr;
  TVudMap* FMap = nullptr;
  QRect FArea;
  QLineEdit* FName;
  QLineEdit* FAreaBox;
  TEncounterList* FEncounters;
};
