#include "ED_Map2.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFormEDMapEncount::TFormEDMapEncount(const QStringList& troopNames, int troopID, QWidget* owner)
    : TFormVudBase(owner) {
  setObjectName("FormEDMapEncount");
  setWindowTitle(QString::fromUtf8("Encontrarse con"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromUtf8("Grupos enemigos"), this));
  FList = new QListWidget(this);
  FList->setObjectName("ListTroops");
  for (int i = 0; i < troopNames.size(); ++i)
    FList->addItem(troopNames[i]);
  layout->addWidget(FList);
  auto* buttons = new QDialogButtonBox(this);
  FButtonOk = buttons->addButton(QString::fromUtf8("Aceptar"), QDialogButtonBox::AcceptRole);
  FButtonOk->setObjectName("ButtonOk");
  FButtonOk->setDefault(true);
  QPushButton* cancel =
      buttons->addButton(QString::fromUtf8("Cancelar"), QDialogButtonBox::RejectRole);
  cancel->setObjectName("ButtonCancel");
  layout->addWidget(buttons);
  connect(FButtonOk, &QPushButton::clicked, this, &TFormEDMapEncount::ButtonOkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(FList, &QListWidget::itemDoubleClicked, this, &TFormEDMapEncount::ButtonOkClick);
  if (troopID < 1 || troopID > FList->count()) troopID = 1;
  if (FList->count()) FList->setCurrentRow(troopID - 1);
  // Without troops there is nothing an encounter could name.
  FButtonOk->setEnabled(FList->count() > 0);
}

int TFormEDMapEncount::TroopID() const {
  return FList->count() ? FList->currentRow() + 1 : 0;
}

void TFormEDMapEncount::ButtonOkClick() {
  if (FList->count() == 0 || FList->currentRow() < 0) return;
  accept();
}
