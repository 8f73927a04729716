#include "MapSetArea.h"

#include "AreaMaker.h"
#include "ED_Area.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFormMapSetArea::TFormMapSetArea(QWidget* owner) : TFormVudBase(owner) {
  setObjectName("FormMapSetArea");
  setWindowTitle(QString::fromUtf8("Posición de Area"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  FAreaMaker = new TFormAreaMaker(this);
  FAreaMaker->setObjectName("AreaMaker");
  FAreaMaker->SetCellSize(16);
  layout->addWidget(FAreaMaker, 1);
  auto* bottom = new QHBoxLayout;
  for (int tag = 1; tag <= 3; ++tag) {
    auto* b = new QPushButton(QString("1/%1").arg(1 << (tag - 1)), this);
    b->setObjectName(QString("ButtonZoom%1").arg(tag));
    b->setProperty("tag", tag);
    b->setAutoDefault(false);
    b->setFixedWidth(40);
    connect(b, &QPushButton::clicked, this, [this, tag] { ButtonZoomClick(tag); });
    bottom->addWidget(b);
  }
  FLabel = new QLabel(this);
  FLabel->setObjectName("LabelArea");
  bottom->addWidget(FLabel, 1);
  FButtonOk = new QPushButton(QString::fromUtf8("Aceptar"), this);
  FButtonOk->setObjectName("ButtonOk");
  FButtonOk->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("Cancelar"), this);
  cancel->setObjectName("ButtonCancel");
  cancel->setAutoDefault(false);
  bottom->addWidget(FButtonOk);
  bottom->addWidget(cancel);
  layout->addLayout(bottom);
  connect(FButtonOk, &QPushButton::clicked, this, &TFormMapSetArea::ButtonOkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  FAreaMaker->OnChange = [this] { updateControls(); };
  resize(660, 541);
  updateControls();
}

void TFormMapSetArea::SetMapTree(TVudMapTree* tree) {
  FAreaMaker->SetMapTree(tree);
}

void TFormMapSetArea::SetMap(TVudMap* map) {
  FAreaMaker->SetMap(map);
  if (FLoaded) FAreaMaker->ReloadMap();
}

void TFormMapSetArea::SetArea(const QRect& cells) {
  FAreaMaker->SetArea(cells);
  updateControls();
}

QRect TFormMapSetArea::Area() const {
  const QRect area = FAreaMaker->Area();
  return area.isEmpty() ? QRect() : area;
}

int TFormMapSetArea::ZoomCellSize(int tag) {
  return tag == 1 ? 32 : tag == 3 ? 8 : 16;
}

void TFormMapSetArea::ButtonZoomClick(int tag) {
  FAreaMaker->SetCellSize(ZoomCellSize(tag));
}

void TFormMapSetArea::showEvent(QShowEvent* event) {
  TFormVudBase::showEvent(event);
  if (event->spontaneous() || FLoaded) return;
  FLoaded = true;
  FAreaMaker->ReloadMap();
}

void TFormMapSetArea::updateControls() {
  FLabel->setText(AreaRectText(Area()));
  FButtonOk->setEnabled(!Area().isEmpty());
}

void TFormMapSetArea::ButtonOkClick() {
  if (FButtonOk->isEnabled()) accept();
}
