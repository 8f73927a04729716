#pragma once
// The map properties dialog "Propiedades del mapa" (also "Nuevo mapa"), the encounter list it
// shares with the area dialog, and the panorama preview.
//
// Use from the map tree view:
//   TFormEDMap form(owner);
//   form.SetChipSetNames(...); form.SetTroopNames(...);
//   form.LoadValues(id, isNew, underRoot, entry, map);
//   if (form.exec() == QDialog::Accepted) { form.StoreEntry(entry); form.ApplyToMap(map); }

#include "VudBase.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRect>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TVireoBoard;
class TVireoSheet;
class TVudEncount;
class TVudMap;
class TVudMapTreeItem;
class TVudMusic;

// A map under the root has no parent to take a setting from: the five "as parent" choices
// (music, battle background, teleport, escape, save) store 1 instead of 0.
void StoreRootChoices(TVudMapTreeItem& item, bool underRoot);

// Where a picture of this size is drawn in a preview area: scaled down to fit with its aspect
// ratio kept when it is larger in either direction, never scaled up, centred.
QRect FitPreviewRect(QSize picture, QSize area);

// The database's names in ID order (empty without a database).
QStringList DataBaseChipSetNames();
QStringList DataBaseTroopNames();

// The pickers the properties dialog opens. Each edits the value in place and answers whether
// it was confirmed. The defaults open the editor's own pickers; tests may replace them.
struct TEDMapPickers {
  std::function<bool(QWidget* owner, QString& name)> Panorama;
  std::function<bool(QWidget* owner, QString& name)> BattleBack;
  std::function<bool(QWidget* owner, TVudMusic& music)> Music;
};
TEDMapPickers& EDMapPickers();
// Puts the editor's own pickers back.
void ResetEDMapPickers();

// A read-only box that opens its picker when clicked (or on Space / Enter).
class TClickBox : public QLineEdit {
public:
  explicit TClickBox(QWidget* parent = nullptr);
  std::function<void()> OnClick;

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// The list "Grupos Enemigos": one row per encounter (the troop's name) and an empty row at the
// end, with the popup menu Modify / Cut / Copy / Paste / Delete (clipboard format 569).
class TEncounterList : public QListWidget {
  Q_OBJECT

public:
  // The area dialog captions its paste command "P&egar".
  explicit TEncounterList(bool areaCaptions, QWidget* parent = nullptr);

  void SetTroopNames(const QStringList& names);
  void SetEncounters(const TVudEncount& encounters);
  void StoreEncounters(TVudEncount& encounters) const;
  const std::vector<int>& TroopIDs() const { return FTroops; }

  void Modify();
  void Cut();
  void Copy();
  void Paste();
  void Delete();
  QMenu* PopupMenu() const { return FMenu; }
  // Enables the menu's commands for the selected row and the clipboard.
  void UpdateActions();

  // The troop chosen last for a new encounter (1 until the first choice).
  static int LastTroop();
  static void ResetLastTroop();

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  void rebuild(int select);
  bool encounterRow() const;

  std::vector<int> FTroops;
  QStringList FTroopNames;
  QMenu* FMenu;
  QAction* FModify;
  QAction* FCut;
  QAction* FCopy;
  QAction* FPaste;
  QAction* FDelete;
};

// The panorama shown fitted into its box; the frame colour when there is none.
class TPanoramaPreview : public QWidget {
  Q_OBJECT

public:
  explicit TPanoramaPreview(QWidget* parent = nullptr);
  ~TPanoramaPreview() override;
  // Loads the picture from the "Panorama" folder; an empty name shows nothing.
  void SetPanorama(const QString& name);
  // Where the picture sits in the box; empty when nothing is shown.
  QRect PictureRect() const;
  std::function<void()> OnDoubleClick;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  std::unique_ptr<TVireoSheet> FSheet;
  std::unique_ptr<TVireoBoard> FBoard;
  QSize FBoardFor;
  QString FName;
  bool FNamed = false;
  bool FLoaded = false;
};

class TFormEDMap : public TFormVudBase {
  Q_OBJECT

public:
  explicit TFormEDMap(QWidget* owner = nullptr);
  ~TFormEDMap() override;

  void SetChipSetNames(const QStringList& names);
  void SetTroopNames(const QStringList& names);
  // Fills every control. underRoot: the map sits directly under the root.
  void LoadValues(int mapID, bool newMap, bool underRoot, const TVudMapTreeItem& entry,
                  const TVudMap& map);
  // After OK: name, music, battle background, the three permissions, encounters and steps.
  void StoreEntry(TVudMapTreeItem& entry) const;
  // After OK: chipset, size (top-left content kept), loop type, panorama; marks the map
  // modified.
  void ApplyToMap(TVudMap& map) const;

  // Enables the controls that the current choices allow and empties the disabled boxes.
  void UpdateControls();
  void ButtonOkClick();
  void ButtonHelpClick();
  void ButtonPanoramaClick();
  void MusicBoxClick();
  void BattleBackBoxClick();

  QString PanoramaName() const { return FPanoramaName; }

private:
  void buildLeft(class QVBoxLayout* column);
  void buildRight(class QVBoxLayout* column);
  QButtonGroup* addChoices(class QGroupBox* group, const QStringList& captions,
                           const QString& name, class QBoxLayout* layout);
  int choice(const QButtonGroup* group) const;
  void setChoice(QButtonGroup* group, int value);
  void setSpeed(QSpinBox* spin, bool enabled);

  bool FUnderRoot = false;
  QString FPanoramaName;
  std::unique_ptr<TVudMusic> FMusic;
  QString FBattleBackName;

  QLineEdit* FName;
  QComboBox* FChipSet;
  QSpinBox* FWidth;
  QSpinBox* FHeight;
  QComboBox* FScrollType;
  QCheckBox* FUsePanorama;
  TPanoramaPreview* FPreview;
  QPushButton* FPanoramaButton;
  class QGroupBox* FOptions;
  QCheckBox* FHScroll;
  QCheckBox* FHAuto;
  QSpinBox* FHSpeed;
  QCheckBox* FVScroll;
  QCheckBox* FVAuto;
  QSpinBox* FVSpeed;
  QButtonGroup* FMusicType;
  QLineEdit* FMusicBox;
  QButtonGroup* FBattleBackType;
  QLineEdit* FBattleBackBox;
  QButtonGroup* FPermissions[3];
  TEncounterList* FEncounters;
  QSpinBox* FSteps;
};
