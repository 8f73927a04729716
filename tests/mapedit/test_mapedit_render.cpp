// The command-line map rasteriser: the same pixels as the map view, and clear errors.
#include "DataBase.h"
#include "LD_MapTree.h"
#include "MapDraw.h"
#include "MapEditTestKit.h"
#include "MapViewer.h"
#include "RenderCommand.h"
#include "VireoImageFile.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "test_mapedit_render";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);  // never torn down
  return *instance;
}

class RenderCommand : public ::testing::Test {
protected:
  void SetUp() override {
    Project = fs::path(Dir.path().toStdString());
    WriteTestChipSet(Project, "Prueba");
    Db.Reset();
    Db.ChipSets().Find(1)->ChipSetName = "Prueba";
    Db.ChipSets().Find(1)->WaterSpeed = 1;
    Db.SaveToFile(Project / TVudDataBase::FileName);
    MakeSampleMap(Map, 60, 40);
    Map.ChipSetID = 1;
    TVudEventItem* e = Map.Events.Obtain(1);
    e->X = 5, e->Y = 6;
    Map.SaveToFile(MapFile());
    SetProjectFolder(Project);
    Tree.AddMap(0, 1);
    Tree.StartPosition.Set(TVudMapStartPosition::spParty, 1, 3, 3);
    Tree.SaveToFile();
  }
  fs::path MapFile() const { return Project / "Map0001.lmu"; }
  int run(std::vector<std::string> args) {
    Err.str({});
    return RunRenderCommand(args, Err);
  }
  static TVireoBitmap load(const fs::path& file) {
    TVireoBitmap b;
    LoadImageFile(b, file);
    return b.ConvertedTo24Bit();
  }
  static bool same(const TVireoBitmap& a, const TVireoBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
      if (std::memcmp(a.ScanLine(y), b.ScanLine(y), a.BytesPerLine()) != 0) return false;
    return true;
  }
  QTemporaryDir Dir;
  fs::path Project;
  TVudDataBase Db;
  TVudMap Map;
  TVudMapTree Tree;
  std::ostringstream Err;
};

TEST_F(RenderCommand, ZoomOneIsTheMapViewsBoard) {
  const fs::path out = Project / "mapa.png";
  ASSERT_EQ(run({MapFile().string(), out.string(), "--events"}), 0) << Err.str();
  const TVireoBitmap rendered = load(out);
  ASSERT_EQ(rendered.Width(), 60 * 32);
  ASSERT_EQ(rendered.Height(), 40 * 32);

  // The view, loading the same files the editor's way.
  app();
  SetMaterialResolver([&](const std::string& n, const std::string& f) {
    return ResolveMaterialIn(Project, n, f);
  });
  TVudMap map;
  map.LoadFromFile(MapFile());
  map.ID = 1;
  Tree.ActiveMapID = 1;
  TFormMapViewer view;
  view.SetMapTree(&Tree);
  view.SetMap(&map);
  view.resize(1920, 1280);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.ReloadMap();
  ASSERT_EQ(view.PictureRect().size(), QSize(1920, 1280));
  EXPECT_TRUE(same(rendered, BoardToBitmap(view.FrontBoard())));
  SetMaterialResolver({});
}

TEST_F(RenderCommand, ZoomAndFrameFollowTheSharedDrawing) {
  const fs::path out = Project / "mapa8.png";
  ASSERT_EQ(run({MapFile().string(), out.string(), "--zoom", "2", "--frame", "36",
                 "--project", Project.string()}), 0) << Err.str();
  TVudChipSetGraphic chips;
  SetMaterialResolver([&](const std::string& n, const std::string& f) {
    return ResolveMaterialIn(Project, n, f);
  });
  chips.SetChipSet(Db.ChipSets().Find(1));  // fast water: counter 36 is frame 1
  TMapDrawContext c;
  c.Map = &Map;
  c.Chips = &chips;
  c.CellSize = 16;
  c.Counter = 36;
  TVireoBoard board;
  DrawMapPicture(board, c);
  EXPECT_TRUE(same(load(out), BoardToBitmap(board)));
  // The picture given on the command line replaces the database's.
  const fs::path other = Project / "otra.png";
  ASSERT_EQ(run({MapFile().string(), other.string(), "--zoom", "2", "--frame", "36", "--chipset",
                 (Project / "ChipSet" / "Prueba.png").string()}), 0) << Err.str();
  EXPECT_TRUE(same(load(other), BoardToBitmap(board)));
  SetMaterialResolver({});
}

TEST_F(RenderCommand, BadInputGivesAClearErrorAndNoPicture) {
  const fs::path out = Project / "nunca.png";
  const std::string map = MapFile().string(), o = out.string();
  std::ofstream(Project / "roto.lmu") << "esto no es un mapa";
  std::ofstream(Project / "roto.png") << "ni esto una imagen";
  fs::create_directories(Project / "sinbase");
  fs::copy_file(MapFile(), Project / "sinbase" / "Map0001.lmu");
  TVudMap big;
  big.Clear();
  big.SetWidth(999);
  big.SetHeight(999);
  big.SaveToFile(Project / "Map0002.lmu");
  Map.ChipSetID = 7;
  Map.SaveToFile(Project / "Map0003.lmu");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{}, "necesita MAPA y SALIDA"},
      {{map, o, "--zoom", "3"}, "--zoom admite"},
      {{map, o, "--zoom"}, "falta el valor de --zoom"},
      {{map, o, "--frame", "-1"}, "necesita un número entero"},
      {{map, o, "--frame", "99999999999"}, "--frame"},
      {{map, o, "--bogus"}, "opción desconocida"},
      {{(Project / "falta.lmu").string(), o}, "no existe el mapa"},
      {{(Project / "roto.lmu").string(), o}, "dañado"},
      {{(Project / "sinbase" / "Map0001.lmu").string(), o}, "TFPLAY.ldb"},
      {{map, o, "--chipset", (Project / "no.png").string()}, "no existe la imagen"},
      {{map, o, "--chipset", (Project / "roto.png").string()}, "no se puede leer"},
      {{(Project / "Map0003.lmu").string(), o}, "ChipSet 7"},
      {{(Project / "Map0002.lmu").string(), o}, "use un zoom mayor"},
      {{map, (Project / "no" / "hay" / "carpeta.png").string()}, "carpeta.png"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), 1) << c.message;
    EXPECT_NE(Err.str().find(c.message), std::string::npos) << Err.str();
    EXPECT_EQ(Err.str().rfind("tfdata: ", 0), 0u) << Err.str();
    EXPECT_FALSE(fs::exists(out));
  }
  // The big map does fit at 1/8.
  EXPECT_EQ(run({(Project / "Map0002.lmu").string(), o, "--zoom", "8"}), 0) << Err.str();
  EXPECT_EQ(load(out).Width(), 999 * 4);
}

#ifdef TF_RENDER_PROGRAM
TEST_F(RenderCommand, TheToolRunsTheSameCommand) {
  const fs::path inProcess = Project / "a.png", byTool = Project / "b.png";
  ASSERT_EQ(run({MapFile().string(), inProcess.string(), "--events"}), 0) << Err.str();
  QProcess tool;
  const QString program = QStringLiteral(TF_RENDER_PROGRAM);
  tool.start(program, {"render", QString::fromStdString(MapFile().string()),
                       QString::fromStdString(byTool.string()), "--events"});
  ASSERT_TRUE(tool.waitForFinished(60000));
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  EXPECT_TRUE(same(load(inProcess), load(byTool)));
  if (const char* dir = std::getenv("TF_SCREENSHOT_DIR"))
    fs::copy_file(byTool, fs::path(dir) / "mapedit-render-60x40-zoom1.png",
                  fs::copy_options::overwrite_existing);
  tool.start(program, {"render", "solo-un-argumento"});
  ASSERT_TRUE(tool.waitForFinished(60000));
  EXPECT_EQ(tool.exitCode(), 1);
  EXPECT_TRUE(tool.readAllStandardError().startsWith("tfdata: "));
}
#endif

}  // namespace
