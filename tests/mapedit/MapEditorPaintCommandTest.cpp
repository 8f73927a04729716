// tfdata paint against the editor: the same operation through the command line and through
// mouse events on the widget saves the same bytes; and the command's errors.
#include "DataBase.h"
#include "GR_ChipSet.h"
#include "LD_MapTree.h"
#include "MapEditTestKit.h"
#include "MapEditor.h"
#include "PaintCommand.h"

#include "AtomicFile.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "MapEditorPaintCommandTest";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

struct TCase {
  const char* Tool;
  int ToolNumber;
  const char* Layer;
  int Mode;
  std::vector<int> Tiles;
  int BrushW, BrushH;
  std::vector<int> At;
  bool Ctrl;
};

class MapEditorPaintCommand : public ::testing::Test {
protected:
  void SetUp() override {
    app();
    Project = fs::path(Dir.path().toStdString());
    WriteTestChipSet(Project, "Prueba");
    Db.Reset();
    Db.ChipSets().Find(1)->ChipSetName = "Prueba";
    Db.SaveToFile(Project / TVudDataBase::FileName);
    MakeSampleMap(Map, 30, 20);
    Map.ChipSetID = 1;
    Map.SaveToFile(MapFile());
    SetMaterialResolver([p = Project](const std::string& name, const std::string& folder) {
      return ResolveMaterialIn(p, name, folder);
    });
  }
  void TearDown() override { SetMaterialResolver({}); }
  fs::path MapFile() const { return Project / "Map0001.lmu"; }
  int run(std::vector<std::string> args) {
    Err.str({});
    return RunPaintCommand(args, Err);
  }

  // The same operation with the mouse on the editor; returns the saved bytes.
  std::vector<std::uint8_t> throughEditor(const TCase& c) {
    TVudMap map;
    map.LoadFromFile(MapFile());
    map.ID = 1;
    TVudMapTree tree;
    TFormMapEditor editor;
    editor.resize(400, 300);
    editor.SetMapTree(&tree);
    editor.SetMap(&map);
    editor.show();
    editor.ReloadMap();
    editor.SetEditMode(c.Mode);
    editor.SetTool(c.ToolNumber);
    TVudCurrentChip& b = editor.Brush(c.Mode);
    b.SetSize(c.BrushW, c.BrushH);
    for (int j = 0; j < c.BrushH; ++j)
      for (int i = 0; i < c.BrushW; ++i) b.Set(i, j, std::uint16_t(c.Tiles[std::size_t(j * c.BrushW + i)]));
    editor.BrushChanged();
    const Qt::KeyboardModifiers mods = c.Ctrl ? Qt::ControlModifier : Qt::NoModifier;
    auto send = [&](QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
      const int s = editor.CellSize();
      const QPointF p(x * s + s / 2 - editor.ScrollPos().x(), y * s + s / 2 - editor.ScrollPos().y());
      QMouseEvent e(type, p, editor.PaintBox()->mapToGlobal(p), button, held, mods);
      QApplication::sendEvent(editor.PaintBox(), &e);
    };
    send(QEvent::MouseButtonPress, c.At[0], c.At[1], Qt::LeftButton, Qt::LeftButton);
    const int x2 = c.At.size() == 4 ? c.At[2] : c.At[0], y2 = c.At.size() == 4 ? c.At[3] : c.At[1];
    send(QEvent::MouseMove, x2, y2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, x2, y2, Qt::LeftButton, Qt::NoButton);
    const fs::path out = Project / "editor.lmu";
    map.SaveToFile(out);
    return ReadWholeFile(out);
  }

  QTemporaryDir Dir;
  fs::path Project;
  TVudDataBase Db;
  TVudMap Map;
  std::ostringstream Err;
};

std::string joined(const std::vector<int>& v) {
  std::string s;
  for (int i : v) s += (s.empty() ? "" : ",") + std::to_string(i);
  return s;
}

TEST_F(MapEditorPaintCommand, SameBytesAsTheEditorForEveryTool) {
  const TCase cases[] = {
      {"pen", mtPen, "lower", emLower, {4149, 49}, 2, 1, {3, 3, 12, 9}, false},
      {"pen", mtPen, "upper", emUpper, {10001, 10002, 10003, 10004}, 2, 2, {0, 0, 5, 2}, false},
      {"rect", mtRectangle, "lower", emLower, {4049}, 1, 1, {2, 2, 9, 7}, false},
      {"rect", mtRectangle, "lower", emLower, {2049}, 1, 1, {0, 0, 4, 4}, true},
      {"ellipse", mtEllipse, "lower", emLower, {1049}, 1, 1, {10, 4, 17, 11}, false},
      {"ellipse", mtEllipse, "upper", emUpper, {10007}, 1, 1, {1, 1, 7, 7}, false},
      {"fill", mtFill, "lower", emLower, {4249, 5003}, 2, 1, {15, 10}, false},
      {"fill", mtFill, "upper", emUpper, {10009}, 1, 1, {20, 15}, false},
  };
  const auto original = ReadWholeFile(MapFile());
  for (const TCase& c : cases) {
    const fs::path out = Project / "tfdata.lmu";
    std::vector<std::string> args{MapFile().string(), out.string(), "--project", Project.string(),
                                  "--layer", c.Layer, "--tool", c.Tool, "--tile", joined(c.Tiles),
                                  "--at", joined(c.At),
                                  "--brush", std::to_string(c.BrushW) + "," + std::to_string(c.BrushH)};
    if (c.Ctrl) args.push_back("--ctrl");
    ASSERT_EQ(run(args), 0) << Err.str();
    const auto viaCommand = ReadWholeFile(out);
    EXPECT_NE(viaCommand, original) << c.Tool << " " << c.Layer;
    EXPECT_EQ(viaCommand, throughEditor(c)) << c.Tool << " " << c.Layer;
  }
}

TEST_F(MapEditorPaintCommand, MergeTargetsComeFromTheProjectsTileSet) {
  // In the test tile set autotile 3 merges with autotile 1: painting 1 beside 3 leaves 1 whole.
  TVudMap map;
  map.SetWidth(3);
  map.SetHeight(1);
  map.LowerLayer.Set(0, 0, 4100);
  map.LowerLayer.Set(1, 0, 4100);
  map.LowerLayer.Set(2, 0, 4100);
  map.ChipSetID = 1;
  map.SaveToFile(Project / "Map0002.lmu");
  const fs::path out = Project / "out.lmu";
  ASSERT_EQ(run({(Project / "Map0002.lmu").string(), out.string(), "--layer", "lower", "--tool", "pen",
                 "--tile", "4049", "--at", "1,0"}),
            0)
      << Err.str();
  TVudMap result;
  result.LoadFromFile(out);
  EXPECT_EQ(result.LowerLayer.Get(1, 0), 4000);
  EXPECT_EQ(result.LowerLayer.Get(0, 0), 4100 + 24);
}

TEST_F(MapEditorPaintCommand, ErrorsAreClear) {
  const std::string map = MapFile().string(), out = (Project / "o.lmu").string();
  const struct {
    std::vector<std::string> Args;
    const char* Message;
  } cases[] = {
      {{map}, "necesita MAPA y SALIDA"},
      {{map, out, "--tool", "pen", "--tile", "5000", "--at", "1,1"}, "falta --layer"},
      {{map, out, "--layer", "middle"}, "--layer admite"},
      {{map, out, "--layer", "lower", "--tool", "spray"}, "--tool admite"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000,", "--at", "1,1"}, "separados por comas"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "70000", "--at", "1,1"}, "fuera de rango"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "10001", "--at", "1,1"}, "capa inferior"},
      {{map, out, "--layer", "upper", "--tool", "pen", "--tile", "5001", "--at", "1,1"}, "capa superior"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000,5001", "--at", "1,1"}, "necesita 1"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "1"}, "X,Y"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "30,0"}, "fuera del mapa"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "1,1", "--brush", "7,1"}, "fuera de rango"},
      {{(Project / "nada.lmu").string(), out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "1,1"}, "no existe el mapa"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "1,1", "--project", "/nonexistent"}, "TFPLAY.ldb"},
      {{map, out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "1,1", "--spray"}, "opción desconocida"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.Args), 1) << c.Message;
    EXPECT_NE(Err.str().find(c.Message), std::string::npos) << Err.str();
  }
  EXPECT_FALSE(fs::exists(out));
  // A broken map file.
  const fs::path broken = Project / "Map0003.lmu";
  SaveFileAtomic(broken, std::vector<std::uint8_t>{1, 2, 3});
  EXPECT_EQ(run({broken.string(), out, "--layer", "lower", "--tool", "pen", "--tile", "5000", "--at", "1,1"}), 1);
  EXPECT_NE(Err.str().find("dañado"), std::string::npos) << Err.str();
}

}  // namespace
