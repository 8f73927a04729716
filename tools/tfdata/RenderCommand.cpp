#include "RenderCommand.h"

#include "DataBase.h"
#include "GR_ChipSet.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapDraw.h"
#include "MapEditUtils.h"
#include "VireoImageFile.h"
#include "VudError.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <regex>

namespace fs = std::filesystem;

const char* const kRenderHelp =
    "  render MAPA SALIDA.png [--project CARPETA] [--chipset IMAGEN] [--zoom 1|2|4|8]\n"
    "         [--frame N] [--events]\n"
    "                          dibuja las dos capas del mapa como la vista del editor\n"
    "                          (zoom 1 = celdas de 32 píxeles, 8 = de 4; N = contador de\n"
    "                          animación del agua; --events añade eventos y posiciones)\n";

namespace {

// Bigger pictures would need hundreds of megabytes; a larger zoom makes them fit.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;
constexpr int kMaxSide = 16384;
constexpr int kMaxFrame = 1000000000;

struct TRenderFailure {
  std::string Message;
};

struct TRenderOptions {
  fs::path MapFile, Output;
  std::optional<fs::path> Project, ChipSet;
  int CellSize = 32;
  int Counter = 0;
  bool Events = false;
};

int parseNumber(const std::string& option, const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 10 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    throw TRenderFailure{option + " necesita un número entero y no \"" + text + "\""};
  const long long value = std::stoll(text);
  if (value < low || value > high)
    throw TRenderFailure{option + " fuera de rango: " + text};
  return int(value);
}

TRenderOptions parseOptions(const std::vector<std::string>& args) {
  TRenderOptions o;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw TRenderFailure{"falta el valor de " + a};
      return args[++i];
    };
    if (a == "--project") o.Project = fs::path(value());
    else if (a == "--chipset") o.ChipSet = fs::path(value());
    else if (a == "--zoom") {
      const int zoom = parseNumber(a, value(), 1, 8);
      if (zoom != 1 && zoom != 2 && zoom != 4 && zoom != 8)
        throw TRenderFailure{"--zoom admite 1, 2, 4 u 8"};
      o.CellSize = 32 / zoom;
    } else if (a == "--frame") o.Counter = parseNumber(a, value(), 0, kMaxFrame);
    else if (a == "--events") o.Events = true;
    else if (a.size() > 1 && a[0] == '-') throw TRenderFailure{"opción desconocida \"" + a + "\""};
    else positional.push_back(a);
  }
  if (positional.size() != 2) throw TRenderFailure{"la orden render necesita MAPA y SALIDA"};
  o.MapFile = positional[0];
  o.Output = positional[1];
  return o;
}

// The map number of a file named MapNNNN.lmu; 0 for other names.
int mapIDOfFile(const fs::path& file) {
  static const std::regex name("map(\\d{4})\\.lmu", std::regex::icase);
  std::smatch m;
  const std::string base = file.filename().string();
  return std::regex_match(base, m, name) ? std::stoi(m[1].str()) : 0;
}

void loadMap(TVudMap& map, const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) throw TRenderFailure{file.string() + ": no existe el mapa"};
  try {
    map.LoadFromFile(file);
  } catch (const EVudError& e) {
    throw TRenderFailure{file.string() + ": mapa dañado o ilegible (" + e.what() + ")"};
  }
  map.ID = mapIDOfFile(file);
  if (map.Width <= 0 || map.Height <= 0) throw TRenderFailure{file.string() + ": el mapa no tiene celdas"};
}

void checkPictureSize(const TVudMap& map, int cellSize) {
  const std::int64_t w = std::int64_t(map.Width) * cellSize, h = std::int64_t(map.Height) * cellSize;
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels)
    throw TRenderFailure{"el dibujo mediría " + std::to_string(w) + " × " + std::to_string(h) +
                         " píxeles (el máximo es " + std::to_string(kMaxSide) +
                         " por lado y " + std::to_string(kMaxPixels) +
                         " en total): use un zoom mayor"};
}

// The chipset record the map names, from the project's database.
const TVudChipSetItem* findChipSet(TVudDataBase& db, const fs::path& project, const TVudMap& map) {
  std::error_code ec;
  const fs::path file = project / TVudDataBase::FileName;
  if (!fs::is_regular_file(file, ec))
    throw TRenderFailure{"no se encuentra " + file.string() + " (indique --project o --chipset)"};
  try {
    db.LoadFromFile(file);
  } catch (const EVudError& e) {
    throw TRenderFailure{file.string() + ": base de datos dañada o ilegible (" + e.what() + ")"};
  }
  const TVudChipSetItem* record = db.ChipSets().Find(map.ChipSetID);
  if (!record)
    throw TRenderFailure{"el mapa usa el ChipSet " + std::to_string(map.ChipSetID) +
                         ", que no está en la base de datos"};
  return record;
}

void loadChipSet(TVudChipSetGraphic& chips, TVudDataBase& db, const TRenderOptions& o,
                 const fs::path& project, const TVudMap& map) {
  try {
    if (o.ChipSet) {
      const fs::path image = *o.ChipSet;
      std::error_code ec;
      if (!fs::is_regular_file(image, ec)) throw TRenderFailure{image.string() + ": no existe la imagen"};
      chips.LoadChipSetFile(image, image.stem().string());
      // With a database the record still gives the water's speed and sequence.
      std::error_code ec2;
      if (fs::is_regular_file(project / TVudDataBase::FileName, ec2)) {
        const TVudChipSetItem* record = nullptr;
        try {
          record = findChipSet(db, project, map);
        } catch (const TRenderFailure&) {
        }
        if (record) {
          SetMaterialResolver([image](const std::string&, const std::string& folder) {
            return folder == "ChipSet" ? image : fs::path();
          });
          chips.SetChipSet(record);
        }
      }
      return;
    }
    const TVudChipSetItem* record = findChipSet(db, project, map);
    if (ResolveMaterialIn(project, record->ChipSetName, "ChipSet").empty())
      throw TRenderFailure{"no se encuentra la imagen de ChipSet \"" + record->ChipSetName +
                           "\" en " + (project / "ChipSet").string()};
    chips.SetChipSet(record);
  } catch (const EVireoError& e) {
    throw TRenderFailure{std::string("no se puede leer la imagen del ChipSet: ") + e.what()};
  }
}

void loadMapTree(TVudMapTree& tree, const fs::path& project, const TVudMap& map) {
  std::error_code ec;
  if (fs::is_regular_file(project / kMapTreeFileName, ec)) {
    SetProjectFolder(project);
    try {
      tree.LoadFromFile();
    } catch (const EVudError& e) {
      throw TRenderFailure{(project / kMapTreeFileName).string() +
                           ": árbol de mapas dañado o ilegible (" + e.what() + ")"};
    }
  }
  // Start positions show on the map being drawn.
  tree.ActiveMapID = map.ID;
}

int render(const TRenderOptions& o) {
  TVudMap map;
  loadMap(map, o.MapFile);
  checkPictureSize(map, o.CellSize);
  const fs::path project = o.Project ? *o.Project : o.MapFile.parent_path();
  SetMaterialResolver([project](const std::string& name, const std::string& folder) {
    return ResolveMaterialIn(project, name, folder);
  });
  TVudDataBase db;
  TVudChipSetGraphic chips;
  loadChipSet(chips, db, o, project, map);
  SetMaterialResolver([project](const std::string& name, const std::string& folder) {
    return ResolveMaterialIn(project, name, folder);
  });
  auto panorama = LoadPanorama(map);
  TVudMapTree tree;
  TVudEventMap events;
  TMapDrawContext context;
  context.Map = &map;
  context.Chips = &chips;
  context.Panorama = panorama.get();
  context.CellSize = o.CellSize;
  context.Counter = o.Counter;
  if (o.Events) {
    loadMapTree(tree, project, map);
    events.BuildEventMap(&tree, &map);
    context.Events = &events;
  }
  TVireoBoard board;
  DrawMapPicture(board, context);
  try {
    SaveImageFile(BoardToBitmap(board), o.Output);
  } catch (const EVireoError& e) {
    throw TRenderFailure{o.Output.string() + ": " + e.what()};
  }
  return 0;
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& err) {
  try {
    const int result = render(parseOptions(args));
    SetMaterialResolver({});
    return result;
  } catch (const TRenderFailure& f) {
    err << "tfdata: " << f.Message << "\n";
  } catch (const EVudError& e) {
    err << "tfdata: " << e.what() << "\n";
  } catch (const std::bad_alloc&) {
    err << "tfdata: memoria insuficiente\n";
  } catch (const std::exception& e) {
    err << "tfdata: " << e.what() << "\n";
  }
  SetMaterialResolver({});
  return 1;
}
