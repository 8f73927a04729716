// Not a test: the map properties dialog and the area dialog filled from the generated default
// database and run-time package, saved as pictures (run under Xvfb):
//   edmap_screenshot <output folder>
#include "DataBase.h"
#include "ED_Area.h"
#include "ED_Map.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  const QString out = argc > 1 ? argv[1] : QDir::currentPath();
  QTemporaryDir registry;
  RegistryStore::SetRootForTests(registry.path());
  SetProgramFolderForTests(QStringLiteral(TF_PROGRAM_DIR));

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
  std::printf("%s %s\n", mapSaved ? "map saved" : "map FAILED", areaSaved ? "area saved" : "area FAILED");
  return mapSaved && areaSaved ? 0 : 1;
}
