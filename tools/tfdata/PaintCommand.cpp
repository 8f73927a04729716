#include "PaintCommand.h"

#include "DataBase.h"
#include "GR_ChipSet.h"
#include "LD_Map.h"
#include "MapPaint.h"
#include "VudError.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

const char* const kPaintHelp =
    "  paint MAPA SALIDA [--project CARPETA] --layer lower|upper --tool pen|rect|ellipse|fill\n"
    "        --tile ID[,ID...] --at X,Y[,X2,Y2] [--brush W,H] [--ctrl] [--shift]\n"
    "                          una operación de dibujo como en el editor: pulsar en X,Y y\n"
    "                          soltar en X2,Y2 (--tile da las baldosas del pincel fila a fila)\n";

namespace {

struct TPaintFailure {
  std::string Message;
};

struct TPaintOptions {
  fs::path MapFile, Output;
  std::optional<fs::path> Project;
  int Layer = -1;
  int Tool = -1;
  std::vector<int> Tiles;
  std::vector<int> At;
  int BrushW = 1, BrushH = 1;
  bool BrushGiven = false;
  bool Ctrl = false, Shift = false;
};

// Comma-separated integers, each within low..high.
std::vector<int> parseList(const std::string& option, const std::string& text, int low, int high) {
  std::vector<int> out;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const bool negative = !item.empty() && item[0] == '-';
    const std::string digits = negative ? item.substr(1) : item;
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
      throw TPaintFailure{option + " necesita números enteros separados por comas y no \"" + text + "\""};
    const long long value = std::stoll(item);
    if (value < low || value > high) throw TPaintFailure{option + " fuera de rango: " + item};
    out.push_back(int(value));
  }
  if (out.empty() || text.back() == ',')
    throw TPaintFailure{option + " necesita números enteros separados por comas y no \"" + text + "\""};
  return out;
}

TPaintOptions parseOptions(const std::vector<std::string>& args) {
  TPaintOptions o;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw TPaintFailure{"falta el valor de " + a};
      return args[++i];
    };
    if (a == "--project") o.Project = fs::path(value());
    else if (a == "--layer") {
      const std::string& v = value();
      if (v == "lower") o.Layer = emLower;
      else if (v == "upper") o.Layer = emUpper;
      else throw TPaintFailure{"--layer admite lower o upper"};
    } else if (a == "--tool") {
      const std::string& v = value();
      if (v == "pen") o.Tool = mtPen;
      else if (v == "rect") o.Tool = mtRectangle;
      else if (v == "ellipse") o.Tool = mtEllipse;
      else if (v == "fill") o.Tool = mtFill;
      else throw TPaintFailure{"--tool admite pen, rect, ellipse o fill"};
    } else if (a == "--tile") o.Tiles = parseList(a, value(), 0, 65535);
    else if (a == "--at") {
      o.At = parseList(a, value(), -100000, 100000);
      if (o.At.size() != 2 && o.At.size() != 4) throw TPaintFailure{"--at necesita X,Y o X,Y,X2,Y2"};
    } else if (a == "--brush") {
      const std::vector<int> wh = parseList(a, value(), 1, TVudCurrentChip::MaxSide);
      if (wh.size() != 2) throw TPaintFailure{"--brush necesita W,H (de 1 a 6)"};
      o.BrushW = wh[0], o.BrushH = wh[1], o.BrushGiven = true;
    } else if (a == "--ctrl") o.Ctrl = true;
    else if (a == "--shift") o.Shift = true;
    else if (a.size() > 1 && a[0] == '-') throw TPaintFailure{"opción desconocida \"" + a + "\""};
    else positional.push_back(a);
  }
  if (positional.size() != 2) throw TPaintFailure{"la orden paint necesita MAPA y SALIDA"};
  if (o.Layer < 0) throw TPaintFailure{"falta --layer"};
  if (o.Tool < 0) throw TPaintFailure{"falta --tool"};
  if (o.Tiles.empty()) throw TPaintFailure{"falta --tile"};
  if (o.At.empty()) throw TPaintFailure{"falta --at"};
  if (std::size_t(o.BrushW * o.BrushH) != o.Tiles.size())
    throw TPaintFailure{"--tile da " + std::to_string(o.Tiles.size()) + " baldosas y el pincel de " +
                        std::to_string(o.BrushW) + " × " + std::to_string(o.BrushH) + " necesita " +
                        std::to_string(o.BrushW * o.BrushH)};
  o.MapFile = positional[0];
  o.Output = positional[1];
  return o;
}

// The tiles the palette offers for each layer.
void checkTile(int layer, int id) {
  const bool ok = layer == emUpper ? id >= kUpperFirst && id < kUpperFirst + kPlainTileCount
                                   : LowerTileIndex(id) >= 0;
  if (!ok)
    throw TPaintFailure{"la baldosa " + std::to_string(id) + " no pertenece a la capa " +
                        (layer == emUpper ? "superior" : "inferior")};
}

void loadMap(TVudMap& map, const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) throw TPaintFailure{file.string() + ": no existe el mapa"};
  try {
    map.LoadFromFile(file);
  } catch (const EVudError& e) {
    throw TPaintFailure{file.string() + ": mapa dañado o ilegible (" + e.what() + ")"};
  }
  if (map.Width <= 0 || map.Height <= 0) throw TPaintFailure{file.string() + ": el mapa no tiene celdas"};
  if (std::int64_t(map.Width) * map.Height > kMaxEditorMapCells)
    throw TPaintFailure{file.string() + ": el mapa mide " + std::to_string(map.Width) + " × " +
                        std::to_string(map.Height) + " y el editor dibuja mapas de hasta 999 × 999"};
}

// Merge targets come from the tile set image the project's database names for the map.
void loadMergeTargets(TMapPaintEngine& engine, const fs::path& project, const TVudMap& map) {
  const fs::path file = project / TVudDataBase::FileName;
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) throw TPaintFailure{"no se encuentra " + file.string() + " (indique --project)"};
  TVudDataBase db;
  try {
    db.LoadFromFile(file);
  } catch (const EVudError& e) {
    throw TPaintFailure{file.string() + ": base de datos dañada o ilegible (" + e.what() + ")"};
  }
  const TVudChipSetItem* record = db.ChipSets().Find(map.ChipSetID);
  if (!record)
    throw TPaintFailure{"el mapa usa el ChipSet " + std::to_string(map.ChipSetID) + ", que no está en la base de datos"};
  const fs::path image = ResolveMaterialIn(project, record->ChipSetName, "ChipSet");
  if (image.empty())
    throw TPaintFailure{"no se encuentra la imagen de ChipSet \"" + record->ChipSetName + "\" en " +
                        (project / "ChipSet").string()};
  TVudChipSetGraphic chips;
  try {
    chips.LoadChipSetFile(image, record->ChipSetName);
  } catch (const std::exception& e) {
    throw TPaintFailure{std::string("no se puede leer la imagen del ChipSet: ") + e.what()};
  }
  engine.SetMergeTargets(chips);
}

int paint(const TPaintOptions& o) {
  for (int id : o.Tiles) checkTile(o.Layer, id);
  TVudMap map;
  loadMap(map, o.MapFile);
  const int x = o.At[0], y = o.At[1];
  if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
    throw TPaintFailure{"--at " + std::to_string(x) + "," + std::to_string(y) + " está fuera del mapa de " +
                        std::to_string(map.Width) + " × " + std::to_string(map.Height)};
  TMapPaintEngine engine(map);
  engine.Reload();
  loadMergeTargets(engine, o.Project ? *o.Project : o.MapFile.parent_path(), map);
  engine.Layer = o.Layer;
  engine.Shift = o.Shift;
  engine.Ctrl = o.Ctrl;
  TVudCurrentChip& brush = engine.Brush();
  brush.SetSize(o.BrushW, o.BrushH);
  for (int j = 0; j < o.BrushH; ++j)
    for (int i = 0; i < o.BrushW; ++i) brush.Set(i, j, std::uint16_t(o.Tiles[std::size_t(j * o.BrushW + i)]));
  // A press at X,Y and a release at X2,Y2; the brush rectangle starts at the cursor cell.
  engine.BeginStroke(o.Tool, x, y, x, y);
  if (o.At.size() == 4) engine.MoveStroke(o.At[2], o.At[3], o.At[2], o.At[3]);
  engine.EndStroke();
  try {
    map.SaveToFile(o.Output);
  } catch (const std::exception& e) {
    throw TPaintFailure{o.Output.string() + ": " + e.what()};
  }
  return 0;
}

}  // namespace

int RunPaintCommand(const std::vector<std::string>& args, std::ostream& err) {
  try {
    return paint(parseOptions(args));
  } catch (const TPaintFailure& f) {
    err << "tfdata: " << f.Message << "\n";
  } catch (const EVudError& e) {
    err << "tfdata: " << e.what() << "\n";
  } catch (const std::bad_alloc&) {
    err << "tfdata: memoria insuficiente\n";
  } catch (const std::exception& e) {
    err << "tfdata: " << e.what() << "\n";
  }
  return 1;
}
