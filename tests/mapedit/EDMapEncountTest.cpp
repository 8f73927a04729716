// "Encontrarse con": start row, the returned troop and OK without troops.
#include "ED_Map2.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "EDMapEncountTest";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

TEST(EDMapEncount, StartsAtTheTroopAndReturnsTheChosenOne) {
  app();
  const QStringList troops = {"Limo", "Murcielagos", "Dragon"};
  struct Case { int start, row; };
  for (const Case c : {Case{2, 1}, Case{3, 2}, Case{9, 0}, Case{0, 0}}) {
    TFormEDMapEncount form(troops, c.start);
    EXPECT_EQ(form.findChild<QListWidget*>("ListTroops")->currentRow(), c.row) << c.start;
  }
  TFormEDMapEncount form(troops, 1);
  form.findChild<QListWidget*>("ListTroops")->setCurrentRow(2);
  form.findChild<QPushButton*>("ButtonOk")->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.TroopID(), 3);
}

TEST(EDMapEncount, NoTroopsNoOk) {
  app();
  TFormEDMapEncount form({}, 1);
  auto* ok = form.findChild<QPushButton*>("ButtonOk");
  EXPECT_FALSE(ok->isEnabled());
  form.ButtonOkClick();
  EXPECT_NE(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.TroopID(), 0);
}

}  // namespace
