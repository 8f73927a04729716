// Map properties: what the dialog shows, enables and empties, and what OK stores into the map
// and its tree entry.
#include "ED_Area.h"
#include "ED_Map.h"
#include "EDMapTestKit.h"
#include "HelpService.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "Materials.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(EDMapRootChoices, RootMapsStoreOneForAsParent) {
  TVudMapTreeItem item;
  item.MusicType = 0;
  item.BattleBackType = 2;
  item.Teleport = 0;
  item.Escape = 1;
  item.Save = 0;
  TVudMapTreeItem nested;
  nested.MusicType = nested.Teleport = nested.Save = 0;
  StoreRootChoices(item, true);
  EXPECT_EQ(item.MusicType, 1);
  EXPECT_EQ(item.BattleBackType, 2);
  EXPECT_EQ(item.Teleport, 1);
  EXPECT_EQ(item.Escape, 1);
  EXPECT_EQ(item.Save, 1);
  StoreRootChoices(nested, false);
  EXPECT_EQ(nested.MusicType, 0);
  EXPECT_EQ(nested.Teleport, 0);
  EXPECT_EQ(nested.Save, 0);
}

TEST(FitPreviewRect, ScalesDownKeepingTheAspectAndNeverUp) {
  struct Case { QSize picture, area; QRect fit; };
  const Case cases[] = {
      {{640, 480}, {160, 120}, {0, 0, 160, 120}},
      {{100, 50}, {160, 120}, {30, 35, 100, 50}},   // small: unscaled, centred
      {{320, 240}, {160, 160}, {0, 20, 160, 120}},  // the width decides
      {{200, 400}, {160, 120}, {50, 0, 60, 120}},   // the height decides
      {{2000, 1}, {160, 120}, {0, 59, 160, 1}},     // never thinner than a pixel
      {{160, 120}, {160, 120}, {0, 0, 160, 120}},
      {{0, 0}, {160, 120}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FitPreviewRect(c.picture, c.area), c.fit) << c.picture.width();
}

// A map with every panorama setting on and a tree entry with music and a battle background.
struct Sample {
  TVudMap map;
  TVudMapTreeItem entry;
  Sample() {
    map.Clear();
    map.UsePanorama = 1;
    map.PanoramaName = "Cielo";
    map.PanoramaHScroll = map.PanoramaHAuto = map.PanoramaVScroll = map.PanoramaVAuto = 1;
    map.PanoramaHSpeed = 5;
    map.PanoramaVSpeed = -3;
    entry.Clear();
    entry.Name = "Pueblo";
    entry.MusicType = 2;
    entry.Music.Name = "Tema";
    entry.Music.Volume = 70;
    entry.BattleBackType = 2;
    entry.BattleBackName = "Campo";
  }
};

template <class T>
T* child(QWidget& form, const char* name) {
  T* w = form.findChild<T*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

TEST(EDMapCascade, EnablesByChoiceAndEmptiesWhatIsDisabled) {
  EDMapApp();
  struct Case {
    bool pano, hs, ha, vs, va;
    int music, back;
    // expected
    bool hAuto, hSpeed, vAuto, vSpeed;
    const char* storedPanorama;
    int storedH, storedV;
    const char* storedMusic;
    const char* storedBack;
  };
  const Case cases[] = {
      {false, true, true, true, true, 2, 2, false, false, false, false, "", 0, 0, "Tema", "Campo"},
      {true, true, true, true, true, 2, 2, true, true, true, true, "Cielo", 5, -3, "Tema", "Campo"},
      {true, true, true, false, true, 1, 0, true, true, false, false, "Cielo", 5, 0, "(OFF)", ""},
      {true, true, false, true, true, 0, 1, true, false, true, true, "Cielo", 0, -3, "(OFF)", ""},
      {true, false, true, false, false, 2, 1, false, false, false, false, "Cielo", 0, 0, "Tema", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "panorama " << c.pano << " h " << c.hs << c.ha << " v "
                                    << c.vs << c.va << " music " << c.music << " back " << c.back);
    Sample s;
    TFormEDMap form;
    form.LoadValues(1, false, false, s.entry, s.map);
    child<QCheckBox>(form, "CheckHScroll")->setChecked(c.hs);
    child<QCheckBox>(form, "CheckHAuto")->setChecked(c.ha);
    child<QCheckBox>(form, "CheckVScroll")->setChecked(c.vs);
    child<QCheckBox>(form, "CheckVAuto")->setChecked(c.va);
    child<QCheckBox>(form, "CheckUsePanorama")->setChecked(c.pano);
    child<QRadioButton>(form, QString("RadioMusic%1").arg(c.music).toUtf8())->setChecked(true);
    child<QRadioButton>(form, QString("RadioBattleBack%1").arg(c.back).toUtf8())->setChecked(true);

    for (const char* name : {"PanoramaPreview", "ButtonPanorama", "CheckHScroll", "CheckVScroll"})
      EXPECT_EQ(child<QWidget>(form, name)->isEnabled(), c.pano) << name;
    EXPECT_EQ(child<QWidget>(form, "CheckHAuto")->isEnabled(), c.hAuto);
    EXPECT_EQ(child<QWidget>(form, "CheckVAuto")->isEnabled(), c.vAuto);
    auto* hSpeed = child<QSpinBox>(form, "SpinHSpeed");
    auto* vSpeed = child<QSpinBox>(form, "SpinVSpeed");
    EXPECT_EQ(hSpeed->isEnabled(), c.hSpeed);
    EXPECT_EQ(vSpeed->isEnabled(), c.vSpeed);
    EXPECT_EQ(hSpeed->text().isEmpty(), !c.hSpeed);
    EXPECT_EQ(vSpeed->text().isEmpty(), !c.vSpeed);
    auto* musicBox = child<QLineEdit>(form, "EditMusic");
    auto* backBox = child<QLineEdit>(form, "EditBattleBack");
    EXPECT_EQ(musicBox->isEnabled(), c.music == 2);
    EXPECT_EQ(backBox->isEnabled(), c.back == 2);
    EXPECT_EQ(musicBox->text().toStdString(), c.music == 2 ? "Tema" : "");
    EXPECT_EQ(backBox->text().toStdString(), c.back == 2 ? "Campo" : "");
    EXPECT_EQ(form.findChild<TPanoramaPreview*>()->isEnabled(), c.pano);

    TVudMap map;
    map.Clear();
    TVudMapTreeItem entry;
    form.StoreEntry(entry);
    form.ApplyToMap(map);
    EXPECT_EQ(map.UsePanorama, c.pano ? 1 : 0);
    EXPECT_EQ(map.PanoramaName, c.storedPanorama);
    EXPECT_EQ(map.PanoramaHSpeed, c.storedH);
    EXPECT_EQ(map.PanoramaVSpeed, c.storedV);
    EXPECT_EQ(map.PanoramaHScroll, c.hs ? 1 : 0);
    EXPECT_EQ(map.PanoramaVAuto, c.va ? 1 : 0);
    EXPECT_EQ(entry.MusicType, c.music);
    EXPECT_EQ(entry.Music.Name, c.storedMusic);
    EXPECT_EQ(entry.Music.Volume, c.music == 2 ? 70 : 100);
    EXPECT_EQ(entry.BattleBackType, c.back);
    EXPECT_EQ(entry.BattleBackName, c.storedBack);
  }
}

TEST(EDMapCascade, AnEmptiedBoxStaysEmptyWhenEnabledAgain) {
  EDMapApp();
  Sample s;
  TFormEDMap form;
  form.LoadValues(1, false, false, s.entry, s.map);
  child<QRadioButton>(form, "RadioMusic1")->setChecked(true);
  child<QRadioButton>(form, "RadioMusic2")->setChecked(true);
  child<QCheckBox>(form, "CheckHAuto")->setChecked(false);
  child<QCheckBox>(form, "CheckHAuto")->setChecked(true);
  EXPECT_EQ(child<QLineEdit>(form, "EditMusic")->text(), "(OFF)");
  EXPECT_EQ(child<QSpinBox>(form, "SpinHSpeed")->text(), "0");
  // The panorama name is not a box the user types in: turning the panorama off and on keeps it.
  child<QCheckBox>(form, "CheckUsePanorama")->setChecked(false);
  child<QCheckBox>(form, "CheckUsePanorama")->setChecked(true);
  EXPECT_EQ(form.PanoramaName(), "Cielo");
}

TEST(EDMap, LoadsAndStoresEveryValue) {
  EDMapApp();
  Sample s;
  s.entry.Name = "Un nombre de mapa demasiado largo";
  s.entry.Teleport = 2;
  s.entry.Escape = 1;
  s.entry.Save = 0;
  s.entry.EncounterSteps = 40;
  s.entry.Encounters.Append()->TroopID = 2;
  s.entry.Encounters.Append()->TroopID = 1;
  s.map.ChipSetID = 2;
  s.map.SetWidth(30);
  s.map.SetHeight(30);
  s.map.SetCell(0, 19, 14, 5042);
  s.map.SetCell(1, 25, 25, 10007);
  s.map.SetScrollType(1);

  TFormEDMap form;
  form.SetChipSetNames({"Campo", "Pueblo", "Mazmorra"});
  form.SetTroopNames({"Limo", "Murciélagos"});
  form.LoadValues(7, false, false, s.entry, s.map);
  EXPECT_EQ(form.windowTitle(), "Propiedades del mapa - ID:0007");
  EXPECT_EQ(child<QLineEdit>(form, "EditName")->text(), "Un nombre de mapa demasi");
  EXPECT_EQ(child<QComboBox>(form, "ComboChipSet")->currentIndex(), 1);
  EXPECT_EQ(child<QComboBox>(form, "ComboScrollType")->currentText(), "Vertical");
  EXPECT_TRUE(child<QRadioButton>(form, "RadioTeleport2")->isChecked());
  EXPECT_TRUE(child<QRadioButton>(form, "RadioSave0")->isEnabled());
  auto* list = child<TEncounterList>(form, "ListEncounters");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("Murciélagos"));
  EXPECT_EQ(list->item(2)->text(), "");

  child<QSpinBox>(form, "SpinWidth")->setValue(20);
  child<QSpinBox>(form, "SpinHeight")->setValue(15);
  child<QComboBox>(form, "ComboChipSet")->setCurrentIndex(2);
  child<QComboBox>(form, "ComboScrollType")->setCurrentIndex(3);
  child<QSpinBox>(form, "SpinSteps")->setValue(120000);  // clamped
  s.map.Modified = false;
  TVudMapTreeItem entry;
  form.StoreEntry(entry);
  form.ApplyToMap(s.map);
  EXPECT_EQ(entry.Name, "Un nombre de mapa demasi");
  EXPECT_EQ(entry.Teleport, 2);
  EXPECT_EQ(entry.Escape, 1);
  EXPECT_EQ(entry.Save, 0);
  EXPECT_EQ(entry.EncounterSteps, 99999);
  ASSERT_EQ(entry.Encounters.Count(), 2);
  EXPECT_EQ(entry.Encounters.At(0)->TroopID, 2);
  EXPECT_EQ(entry.Encounters.At(1)->ID, 2);
  EXPECT_TRUE(s.map.Modified);
  EXPECT_EQ(s.map.ChipSetID, 3);
  EXPECT_EQ(s.map.Width, 20);
  EXPECT_EQ(s.map.Height, 15);
  EXPECT_EQ(s.map.LowerLayer.Get(19, 14), 5042) << "the top-left content stays";
  EXPECT_EQ(s.map.UpperLayer.Width, 20);
  EXPECT_TRUE(s.map.LowerLayer.WrapX && s.map.UpperLayer.WrapY);

  // Growing fills new cells with each layer's empty value.
  child<QSpinBox>(form, "SpinWidth")->setValue(25);
  form.ApplyToMap(s.map);
  EXPECT_EQ(s.map.LowerLayer.Get(24, 0), 0);
  EXPECT_EQ(s.map.UpperLayer.Get(24, 0), 10000);
}

TEST(EDMap, NewMapUnderTheRootNeverStoresAsParent) {
  EDMapApp();
  TVudMap map;
  map.Clear();
  map.ChipSetID = 9;  // beyond the list
  TVudMapTreeItem entry;
  entry.Clear();
  entry.Name = "MAP0003";
  TFormEDMap form;
  form.SetChipSetNames({"Campo", "Pueblo"});
  form.LoadValues(3, true, true, entry, map);
  EXPECT_EQ(form.windowTitle(), "Nuevo mapa - ID:0003");
  EXPECT_EQ(child<QComboBox>(form, "ComboChipSet")->currentIndex(), 0);
  EXPECT_EQ(child<QSpinBox>(form, "SpinWidth")->value(), 20);
  EXPECT_EQ(child<QSpinBox>(form, "SpinHeight")->value(), 15);
  EXPECT_EQ(child<QSpinBox>(form, "SpinSteps")->value(), 25);
  for (const char* group : {"RadioMusic", "RadioBattleBack", "RadioTeleport", "RadioEscape", "RadioSave"}) {
    EXPECT_FALSE(child<QRadioButton>(form, (QString(group) + "0").toUtf8())->isEnabled()) << group;
    EXPECT_TRUE(child<QRadioButton>(form, (QString(group) + "1").toUtf8())->isChecked()) << group;
  }
  TVudMapTreeItem stored;
  form.StoreEntry(stored);
  form.ApplyToMap(map);
  EXPECT_EQ(stored.Name, "MAP0003");
  for (uint8_t v : {stored.MusicType, stored.BattleBackType, stored.Teleport, stored.Escape, stored.Save})
    EXPECT_EQ(v, 1);
  EXPECT_EQ(map.ChipSetID, 1);
}

TEST(EDMap, PickersFillTheBoxesWithTheBareName) {
  EDMapApp();
  Sample s;
  s.map.PanoramaName.clear();
  int opened = 0;
  EDMapPickers().Panorama = [&](QWidget*, QString& name) {
    ++opened;
    name = "Noche <RTP>";
    return true;
  };
  EDMapPickers().BattleBack = [&](QWidget*, QString& name) {
    ++opened;
    EXPECT_EQ(name, "Campo");
    return false;  // cancelled: nothing changes
  };
  EDMapPickers().Music = [&](QWidget*, TVudMusic& music) {
    ++opened;
    EXPECT_EQ(music.Name, "Tema");
    music.Name = "Batalla";
    music.Tempo = 120;
    return true;
  };
  TFormEDMap form;
  form.LoadValues(1, false, false, s.entry, s.map);
  child<QPushButton>(form, "ButtonPanorama")->click();
  form.BattleBackBoxClick();
  form.MusicBoxClick();
  EXPECT_EQ(opened, 3);
  EXPECT_EQ(form.PanoramaName(), "Noche");
  // A double click on the preview opens the panorama picker too, but not while it is off.
  auto* preview = form.findChild<TPanoramaPreview*>();
  QTest::mouseDClick(preview, Qt::LeftButton);
  EXPECT_EQ(opened, 4);
  child<QCheckBox>(form, "CheckUsePanorama")->setChecked(false);
  QTest::mouseDClick(preview, Qt::LeftButton);
  child<QCheckBox>(form, "CheckUsePanorama")->setChecked(true);
  EXPECT_EQ(opened, 4);
  EXPECT_EQ(child<QLineEdit>(form, "EditMusic")->text(), "Batalla");
  // Disabled boxes open nothing.
  child<QRadioButton>(form, "RadioBattleBack0")->setChecked(true);
  form.BattleBackBoxClick();
  EXPECT_EQ(opened, 4);
  TVudMapTreeItem entry;
  TVudMap map;
  form.StoreEntry(entry);
  form.ApplyToMap(map);
  EXPECT_EQ(map.PanoramaName, "Noche");
  EXPECT_EQ(entry.Music.Name, "Batalla");
  EXPECT_EQ(entry.Music.Tempo, 120);
  ResetEDMapPickers();
}

TEST(EDMap, PanoramaPreviewFitsTheRealPicture) {
  EDMapApp();
  // The generated run-time package, when the build made it.
  const QString file = ResolveMaterialFile("Cielo", "Panorama", MaterialExtensions("Panorama"));
  TPanoramaPreview preview;
  preview.resize(164, 124);
  preview.SetPanorama("NoExiste");
  EXPECT_TRUE(preview.PictureRect().isEmpty()) << "a missing file shows the empty box";
  if (file == "Cielo") GTEST_SKIP() << "no run-time package";
  preview.SetPanorama("Cielo");
  EXPECT_EQ(preview.PictureRect(), QRect(2, 2, 160, 120));
}

// Picks the row with this text in the next picker and presses its "Aceptar".
void pickRow(const QString& text, QString* startRow = nullptr) {
  WhenModal([text, startRow](QDialog* d) {
    auto* list = d->findChild<QListWidget*>();
    if (startRow && list->currentItem()) *startRow = list->currentItem()->text();
    const auto found = list->findItems(text, Qt::MatchExactly);
    if (!found.isEmpty()) list->setCurrentItem(found.first());
    d->findChild<QPushButton*>("ButtonOk")->click();
  });
}

TEST(EDMap, TheEditorsOwnPickersStoreTheBareNames) {
  EDMapApp();
  if (ResolveMaterialFile("Cielo", "Panorama", MaterialExtensions("Panorama")) == "Cielo")
    GTEST_SKIP() << "no run-time package";
  ResetEDMapPickers();
  Sample s;
  TFormEDMap form;
  form.LoadValues(1, false, false, s.entry, s.map);
  QString start;
  pickRow("Noche <RTP>", &start);
  child<QPushButton>(form, "ButtonPanorama")->click();
  EXPECT_EQ(start, "Cielo <RTP>") << "the picker starts at the current panorama";
  EXPECT_EQ(form.PanoramaName(), "Noche");
  pickRow("Pradera <RTP>");
  form.BattleBackBoxClick();
  pickRow("Batalla <RTP>");
  form.MusicBoxClick();
  TVudMapTreeItem entry;
  TVudMap map;
  form.StoreEntry(entry);
  form.ApplyToMap(map);
  EXPECT_EQ(map.PanoramaName, "Noche");
  EXPECT_EQ(entry.BattleBackName, "Pradera");
  EXPECT_EQ(entry.Music.Name, "Batalla");
  EXPECT_EQ(entry.Music.Volume, 70) << "the picker keeps the other settings";
}

TEST(EDMap, HelpOpensTheDialogsPage) {
  EDMapApp();
  QList<QUrl> opened;
  SetHelpOpenerForTests([&](const QUrl& url) { opened << url; });
  TFormEDMap map;
  child<QPushButton>(map, "ButtonHelp")->click();
  TFormEDArea area;
  child<QPushButton>(area, "ButtonHelp")->click();
  SetHelpOpenerForTests({});
  EXPECT_EQ(opened, (QList<QUrl>{HelpUrl(171), HelpUrl(190)}));
}

}  // namespace
