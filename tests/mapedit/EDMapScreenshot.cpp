// Not a test: the map properties dialog and the area dialog filled from the generated default
// database and run-time package, saved as pictures (run under Xvfb):
//   edmap_screenshot <output folder>
#include "DataBase.h"
#include "ED_Area.h"
#include "ED_Map.h"
#include "GR_ChipSet.h"
#include "Materials.h"
#include "TextCodec.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapSetArea.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {
// A meadow with a few trees, on the first (field) tile set.
void paintMeadow(TVudMap& map) {
  map.Clear();
  map.ID = 1;
  map.SetWidth(36);
  map.SetHeight(28);
  for (int y = 0; y < map.Height; ++y)
    for (int x = 0; x < map.Width; ++x) map.SetCell(0, x, y, 4000);
  const int trees[][2] = {{2, 2}, {6, 3}, {14, 2}, {20, 5}, {25, 3}, {30, 8}, {4, 14},
                          {9, 18}, {17, 15}, {24, 19}, {31, 16}, {12, 23}, {27, 24}};
  for (const auto& t : trees) {
    map.SetCell(1, t[0], t[1], 10012);
    map.SetCell(1, t[0] + 1, t[1], 10013);
    map.SetCell(1, t[0], t[1] + 1, 10018);
    map.SetCell(1, t[0] + 1, t[1] + 1, 10019);
  }
}
}  // namespace

int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  const QString out = argc > 1 ? argv[1] : QDir::currentPath();
  QTemporaryDir registry;
  RegistryStore::SetRootForTests(registry.path());
  SetProgramFolderForTests(QStringLiteral(TF_PROGRAM_DIR));
  // As the editor does: materials from the run-time package, missing pieces tolerated.
  SetLenientMode(true);
  SetMaterialResolver([](const std::string& name, const std::string& folder) {
    const QString dir = QString::fromStdString(folder);
    const QString file = ResolveMaterialFile(FromCp1252(name), dir, MaterialExtensions(dir));
    return file.isEmpty() || !QFileInfo(file).isFile() ? std::filesystem::path()
                                                      : ToStoragePath(file);
  });

  TVudDataBase db;
  db.LoadFromFile(std::filesystem::path(TF_PROGRAM_DIR) / "TFPLAY.ldb.dat");

  TVudMap map;
  map.Clear();
  map.ChipSetID = 2;
  map.SetWidth(40);
  map.SetHeight(30);
  map.SetScrollType(2);
  map.UsePanorama = 1;
  map.PanoramaName = "Cielo";
  map.PanoramaHScroll = map.PanoramaHAuto = 1;
  map.PanoramaHSpeed = 3;
  map.PanoramaVScroll = 1;
  TVudMapTreeItem entry;
  entry.Clear();
  entry.Name = "Pueblo de Arena";
  entry.MusicType = 2;
  entry.Music.Name = "Campo";
  entry.BattleBackType = 2;
  entry.BattleBackName = "Pradera";
  entry.Teleport = 1;
  entry.Save = 2;
  entry.EncounterSteps = 30;
  for (int troop : {1, 2, 3}) entry.Encounters.Append()->TroopID = troop;

  TFormEDMap form;
  form.SetChipSetNames(DataBaseChipSetNames());
  form.SetTroopNames(DataBaseTroopNames());
  form.LoadValues(4, false, false, entry, map);
  form.show();
  form.adjustSize();
  app.processEvents();
  const bool mapSaved = form.grab().save(QDir(out).filePath("mapedit-properties.png"));

  TVudMapTreeItem area;
  area.Name = "Mercado";
  StoreAreaRect(area, QRect(QPoint(3, 4), QPoint(12, 9)));
  for (int troop : {2, 1}) area.Encounters.Append()->TroopID = troop;
  TFormEDArea areaForm;
  areaForm.SetTroopNames(DataBaseTroopNames());
  areaForm.LoadValues(7, false, area);
  areaForm.show();
  app.processEvents();
  const bool areaSaved = areaForm.grab().save(QDir(out).filePath("mapedit-properties-area.png"));

  TVudMap meadow;
  paintMeadow(meadow);
  TFormMapSetArea picker;
  picker.SetMap(&meadow);
  picker.SetArea(QRect(QPoint(8, 7), QPoint(19, 14)));
  picker.show();
  QTest::qWait(300);
  const bool pickerSaved = picker.grab().save(QDir(out).filePath("mapedit-properties-area-picker.png"));
  std::printf("map %d area %d picker %d\n", mapSaved, areaSaved, pickerSaved);
  return mapSaved && areaSaved && pickerSaved ? 0 : 1;
}
