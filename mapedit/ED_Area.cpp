#include "ED_Area.h"

#include "ED_Map.h"
#include "HelpService.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapSetArea.h"
#include "TextCodec.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>


QString AreaRectText(const QRect& cells) {
  if (cells.isEmpty()) return {};
  return QString::asprintf("(%.3d,%.3d) - (%.3d,%.3d)", cells.left(), cells.top(), cells.right(),
                           cells.bottom());
}

QRect AreaRectOf(const TVudMapTreeItem& entry) {
  const int* r = entry.AreaRect;
  if (r[2] <= r[0] || r[3] <= r[1]) return {};
  return QRect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
}

void StoreAreaRect(TVudMapTreeItem& entry, const QRect& cells) {
  if (cells.isEmpty()) {
    entry.AreaRect[0] = entry.AreaRect[1] = entry.AreaRect[2] = entry.AreaRect[3] = 0;
    return;
  }
  entry.AreaRect[0] = cells.left();
  entry.AreaRect[1] = cells.top();
  entry.AreaRect[2] = cells.left() + cells.width();
  entry.AreaRect[3] = cells.top() + cells.height();
}

TFormEDArea::TFormEDArea(QWidget* owner) : TFormVudBase(owner) {
  setObjectName("FormEDArea");
  setWindowTitle(QString::fromUtf8("Propiedades de la área"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QGridLayout;
  top->addWidget(new QLabel(QString::fromUtf8("Nombre "), this), 0, 0);
  FName = new QLineEdit(this);
  FName->setObjectName("EditName");
  FName->setMaxLength(24);
  FName->setValidator(new TCp1252Validator(FName));
  top->addWidget(FName, 0, 1);
  top->addWidget(new QLabel(QString::fromUtf8("Dimensiones de Área "), this), 1, 0);
  auto* box = new TClickBox(this);
  box->setObjectName("EditArea");
  box->OnClick = [this] { AreaBoxClick(); };
  FAreaBox = box;
  top->addWidget(FAreaBox, 1, 1);
  top->setColumnStretch(1, 1);
  layout->addLayout(top);

  auto* troops = new QGroupBox(QString::fromUtf8("Grupos Enemigos"), this);
  auto* tv = new QVBoxLayout(troops);
  FEncounters = new TEncounterList(true, troops);
  FEncounters->setMinimumHeight(160);
  tv->addWidget(FEncounters);
  layout->addWidget(troops, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton(QString::fromUtf8("&Aceptar"), this);
  ok->setObjectName("ButtonOk");
  auto* cancel = new QPushButton(QString::fromUtf8("&Cancelar"), this);
  cancel->setObjectName("ButtonCancel");
  auto* help = new QPushButton(QString::fromUtf8("Ayuda"), this);
  help->setObjectName("ButtonHelp");
  for (QPushButton* b : {ok, cancel, help}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  ok->setDefault(true);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TFormEDArea::ButtonOkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &TFormEDArea::ButtonHelpClick);
  resize(320, 360);
}

void TFormEDArea::SetTroopNames(const QStringList& names) {
  FEncounters->SetTroopNames(names);
}

void TFormEDArea::LoadValues(int areaID, bool newArea, const TVudMapTreeItem& entry) {
  setWindowTitle(QString::fromUtf8(newArea ? "Nueva área" : "Propiedades de la área") +
                 QString::asprintf(" - ID:%.4d", areaID));
  FName->setText(FromCp1252(entry.Name).left(24));
  SetArea(AreaRectOf(entry));
  FEncounters->SetEncounters(entry.Encounters);
}

void TFormEDArea::StoreEntry(TVudMapTreeItem& entry) const {
  entry.Name = ToCp1252(FName->text());
  StoreAreaRect(entry, FArea);
  FEncounters->StoreEncounters(entry.Encounters);
}

void TFormEDArea::SetArea(const QRect& cells) {
  FArea = cells.isEmpty() ? QRect() : cells;
  FAreaBox->setText(AreaRectText(FArea));
}

void TFormEDArea::AreaBoxClick() {
  if (!FMap) return;
  // The picker scrolls the map view, which writes the tree's stored offsets: keep them.
  struct TSaved {
    TVudMapTreeItem* Entry;
    int X, Y;
  };
  std::vector<TSaved> saved;
  if (FTree)
    for (TVudMapTreeItem* e : {FTree->ActiveItem(), FTree->Find(FMap->ID)})
      if (e) saved.push_back({e, e->ScrollX, e->ScrollY});
  TFormMapSetArea picker(this);
  picker.SetMapTree(FTree);
  picker.SetMap(FMap);
  picker.SetArea(FArea);
  const bool ok = picker.exec() == QDialog::Accepted;
  for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
    it->Entry->ScrollX = it->X;
    it->Entry->ScrollY = it->Y;
  }
  if (ok) SetArea(picker.Area());
}

void TFormEDArea::ButtonOkClick() {
  accept();
}

void TFormEDArea::ButtonHelpClick() {
  ShowHelp(190);
}
