#include "MapShift.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// 0 up, 1 left, 2 right, 3 down.
int gDirection = 0;
int gCount = 1;
}  // namespace

void TFormMapShift::ResetRemembered() {
  gDirection = 0;
  gCount = 1;
}

TFormMapShift::TFormMapShift(int mapWidth, int mapHeight, QWidget* owner)
    : TFormVudBase(owner), FWidth(std::max(1, mapWidth)), FHeight(std::max(1, mapHeight)) {
  setObjectName("FormMapShift");
  setWindowTitle(QString::fromUtf8("Mover Mapa"));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QString::fromUtf8("Dirección"), this);
  group->setObjectName("GroupDirection");
  auto* grid = new QGridLayout(group);
  const char* captions[4] = {"Arrjba", "Izq.", "Der.", "Abajo"};
  const char* names[4] = {"RadioUp", "RadioLeft", "RadioRight", "RadioDown"};
  const QPoint places[4] = {{1, 0}, {0, 1}, {2, 1}, {1, 2}};
  for (int i = 0; i < 4; ++i) {
    FDirections[i] = new QRadioButton(QString::fromUtf8(captions[i]), group);
    FDirections[i]->setObjectName(names[i]);
    grid->addWidget(FDirections[i], places[i].y(), places[i].x());
    connect(FDirections[i], &QRadioButton::toggled, this, [this] { updateRange(); });
  }
  layout->addWidget(group);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QString::fromUtf8("Numero de Tiles"), this));
  FCount = new QSpinBox(this);
  FCount->setObjectName("SpinCount");
  row->addWidget(FCount);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QString::fromUtf8("Aceptar"), QDialogButtonBox::AcceptRole);
  ok->setObjectName("ButtonOk");
  ok->setDefault(true);
  QPushButton* cancel =
      buttons->addButton(QString::fromUtf8("Cancelar"), QDialogButtonBox::RejectRole);
  cancel->setObjectName("ButtonCancel");
  connect(ok, &QPushButton::clicked, this, &TFormMapShift::ButtonOkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
  FDirections[gDirection]->setChecked(true);
  updateRange();
  FCount->setValue(gCount);
}

void TFormMapShift::updateRange() {
  const bool vertical = FDirections[0]->isChecked() || FDirections[3]->isChecked();
  FCount->setRange(1, vertical ? FHeight : FWidth);
}

QPoint TFormMapShift::Offset() const {
  const int n = FCount->value();
  if (FDirections[1]->isChecked()) return {-n, 0};
  if (FDirections[2]->isChecked()) return {n, 0};
  if (FDirections[3]->isChecked()) return {0, n};
  return {0, -n};
}

void TFormMapShift::ButtonOkClick() {
  for (int i = 0; i < 4; ++i)
    if (FDirections[i]->isChecked()) gDirection = i;
  gCount = FCount->value();
  accept();
}
