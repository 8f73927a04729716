// "Encontrarse con": start row, the returned troop and OK without troops; the encounter list
// with its menu and clipboard.
#include "ED_Map.h"
#include "ED_Map2.h"
#include "EDMapTestKit.h"
#include "LD_MapTree.h"

#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QApplication& app() {
  return EDMapApp();
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

std::vector<int> troops(const TEncounterList& list) {
  return list.TroopIDs();
}

const QStringList kTroops = {"Limo", QString::fromUtf8("Murciélagos"), QString::fromUtf8("Dragón")};

TEST(EncounterList, ModifyAppendsOrChangesAndRemembersTheLastTroop) {
  app();
  TEncounterList::ResetLastTroop();
  TEncounterList list(false);
  list.SetTroopNames(kTroops);
  TVudEncount start;
  start.Append()->TroopID = 2;
  start.Append()->TroopID = 3;
  list.SetEncounters(start);
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.item(1)->text(), QString::fromUtf8("Dragón"));
  EXPECT_EQ(list.item(2)->text(), "");
  EXPECT_EQ(list.currentRow(), 0);

  int startRow = -1;
  WhenModal([&](QDialog* d) {
    startRow = d->findChild<QListWidget*>("ListTroops")->currentRow();
    d->findChild<QListWidget*>("ListTroops")->setCurrentRow(0);
    d->findChild<QPushButton*>("ButtonOk")->click();
  });
  list.Modify();
  EXPECT_EQ(startRow, 1) << "an encounter row starts at its troop";
  EXPECT_EQ(troops(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(list.currentRow(), 0);

  list.setCurrentRow(2);
  WhenModal([&](QDialog* d) {
    startRow = d->findChild<QListWidget*>("ListTroops")->currentRow();
    d->findChild<QListWidget*>("ListTroops")->setCurrentRow(2);
    d->findChild<QPushButton*>("ButtonOk")->click();
  });
  list.Modify();
  EXPECT_EQ(startRow, 0) << "the empty row starts at the troop chosen last";
  EXPECT_EQ(troops(list), (std::vector<int>{1, 3, 3}));
  EXPECT_EQ(list.currentRow(), 2);
  EXPECT_EQ(TEncounterList::LastTroop(), 3);

  // Cancel changes nothing.
  list.setCurrentRow(0);
  WhenModal([](QDialog* d) { d->reject(); });
  list.Modify();
  EXPECT_EQ(troops(list), (std::vector<int>{1, 3, 3}));

  TVudEncount stored;
  list.StoreEncounters(stored);
  ASSERT_EQ(stored.Count(), 3);
  EXPECT_EQ(stored.At(2)->ID, 3);
  EXPECT_EQ(stored.At(2)->TroopID, 3);
}

TEST(EncounterList, CutCopyPasteAndDeleteThroughFormat569) {
  app();
  TEncounterList list(false);
  list.SetTroopNames(kTroops);
  TVudEncount start;
  for (int t : {1, 2, 3}) start.Append()->TroopID = t;
  list.SetEncounters(start);

  list.setCurrentRow(2);
  list.Copy();
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(mime->hasFormat("application/x-taleforge-569"));
  const QByteArray block = mime->data("application/x-taleforge-569");
  TVudEncountItem item;
  ASSERT_TRUE(item.PasteFromClipboard(
      std::span(reinterpret_cast<const uint8_t*>(block.constData()), size_t(block.size()))));
  EXPECT_EQ(item.TroopID, 3);

  list.setCurrentRow(0);
  list.Paste();  // the selected and following encounters move down
  EXPECT_EQ(troops(list), (std::vector<int>{3, 1, 2, 3}));
  EXPECT_EQ(list.currentRow(), 0);

  list.setCurrentRow(1);
  list.Cut();
  EXPECT_EQ(troops(list), (std::vector<int>{3, 2, 3}));
  EXPECT_EQ(list.currentRow(), 1) << "the row that takes its place";
  list.setCurrentRow(3);  // the empty row: paste appends
  list.Paste();
  EXPECT_EQ(troops(list), (std::vector<int>{3, 2, 3, 1}));
  EXPECT_EQ(list.currentRow(), 3);

  list.setCurrentRow(3);
  list.Delete();
  EXPECT_EQ(troops(list), (std::vector<int>{3, 2, 3}));
  EXPECT_EQ(list.currentRow(), 3);
  list.Delete();  // the empty row has nothing to delete
  EXPECT_EQ(troops(list).size(), 3u);

  // A broken block on the clipboard pastes nothing.
  for (const QByteArray& bad : {QByteArray("xx"), QByteArray("\x40\0\0\0\x01\0\0\0\x01", 9)}) {
    auto* broken = new QMimeData;
    broken->setData("application/x-taleforge-569", bad);
    QApplication::clipboard()->setMimeData(broken);
    list.setCurrentRow(0);
    list.Paste();
    EXPECT_EQ(troops(list), (std::vector<int>{3, 2, 3}));
  }
  // A well-formed block from outside that names no troop is not an encounter either.
  TVudEncountItem foreign;
  foreign.TroopID = -7;
  const std::vector<uint8_t> bytes = foreign.CopyToClipboard();
  auto* noTroop = new QMimeData;
  noTroop->setData("application/x-taleforge-569",
                   QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  QApplication::clipboard()->setMimeData(noTroop);
  list.setCurrentRow(0);
  list.Paste();
  EXPECT_EQ(troops(list), (std::vector<int>{3, 2, 3}));
}

TEST(EncounterList, MenuFollowsTheRowTheClipboardAndTheLimit) {
  app();
  TEncounterList map(false), area(true);
  QStringList captions;
  for (QAction* a : map.PopupMenu()->actions())
    if (!a->isSeparator()) captions << a->text();
  EXPECT_EQ(captions, (QStringList{"&Modificar", "&Cortar", "Co&piar", "&Pegar", "&Eliminar"}));
  EXPECT_EQ(area.PopupMenu()->actions()[4]->text(), "P&egar");
  EXPECT_EQ(map.PopupMenu()->defaultAction()->text(), "&Modificar");

  auto enabled = [](TEncounterList& list) {
    list.UpdateActions();
    QString bits;
    for (QAction* a : list.PopupMenu()->actions())
      if (!a->isSeparator()) bits += a->isEnabled() ? '1' : '0';
    return bits;
  };
  map.SetTroopNames(kTroops);
  QApplication::clipboard()->clear();
  EXPECT_EQ(enabled(map), "10000") << "only the empty row";

  TVudEncount some;
  some.Append()->TroopID = 2;
  map.SetEncounters(some);
  map.Copy();
  EXPECT_EQ(enabled(map), "11111");
  map.setCurrentRow(1);
  EXPECT_EQ(enabled(map), "10010");

  TVudEncount full;
  for (int i = 0; i < kMaxEncounters; ++i) full.Append()->TroopID = 1;
  map.SetEncounters(full);
  EXPECT_EQ(enabled(map), "11101") << "500 encounters: no paste";
  map.setCurrentRow(kMaxEncounters);
  EXPECT_EQ(enabled(map), "00000") << "and nothing to add on the empty row";
  map.Paste();
  EXPECT_EQ(troops(map).size(), size_t(kMaxEncounters));

  // A file made elsewhere may hold more: all of them are kept, none can be added.
  full.Append()->TroopID = 2;
  map.SetEncounters(full);
  EXPECT_EQ(enabled(map), "11101");
  TVudEncount stored;
  map.StoreEncounters(stored);
  ASSERT_EQ(stored.Count(), kMaxEncounters + 1);
  EXPECT_EQ(stored.At(kMaxEncounters)->TroopID, 2);
}

TEST(EncounterList, KeysAndTheMenuReachTheCommands) {
  app();
  TEncounterList list(false);
  list.SetTroopNames(kTroops);
  TVudEncount start;
  for (int t : {1, 2}) start.Append()->TroopID = t;
  list.SetEncounters(start);
  list.show();
  list.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
  list.setFocus();

  list.setCurrentRow(1);
  QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(&list, Qt::Key_Delete);
  EXPECT_EQ(troops(list), (std::vector<int>{1}));
  QTest::keyClick(&list, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(troops(list), (std::vector<int>{1, 2}));
  WhenModal([](QDialog* d) {
    d->findChild<QListWidget*>("ListTroops")->setCurrentRow(2);
    d->findChild<QPushButton*>("ButtonOk")->click();
  });
  QTest::keyClick(&list, Qt::Key_Return);
  EXPECT_EQ(troops(list), (std::vector<int>{1, 3}));

  // A right click opens the menu only on the focused list.
  list.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
  list.setFocus();
  ASSERT_TRUE(list.hasFocus());
  const QPoint at = list.visualItemRect(list.item(0)).center();
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
  QApplication::sendEvent(list.viewport(), &click);
  EXPECT_TRUE(list.PopupMenu()->isVisible());
  list.PopupMenu()->hide();
  list.clearFocus();
  QApplication::sendEvent(list.viewport(), &click);
  EXPECT_FALSE(list.PopupMenu()->isVisible());
}

}  // namespace
