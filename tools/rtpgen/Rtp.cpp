#include "Rtp.h"

#include "Artwork.h"
#include "ChipSets.h"
#include "People.h"
#include "Sounds.h"

#include <functional>
#include <map>

namespace fs = std::filesystem;

namespace {

using TMaker = std::function<void(const fs::path&)>;

struct TEntry {
  TRtpMaterial Material;
  TMaker Make;
};

const std::vector<TEntry>& entries() {
  static const std::vector<TEntry> list = {
      {{"ChipSet", "Campo", "png", 480, 256}, MakeFieldChipSet},
      {{"ChipSet", "Pueblo", "png", 480, 256}, MakeTownChipSet},
      {{"ChipSet", "Mazmorra", "png", 480, 256}, MakeDungeonChipSet},
      {{"CharSet", "Heroes", "png", 288, 256}, MakeHeroCharSet},
      {{"CharSet", "Aldeanos", "png", 288, 256}, MakeVillagerCharSet},
      {{"CharSet", "Vehiculos", "png", 288, 256}, MakeVehicleCharSet},
      {{"CharSet", "Objetos", "png", 288, 256}, MakeObjectCharSet},
      {{"CharSet", "Criaturas", "png", 288, 256}, MakeCreatureCharSet},
      {{"FaceSet", "CarasHeroes", "png", 192, 192}, MakeHeroFaceSet},
      {{"FaceSet", "CarasAldeanos", "png", 192, 192}, MakeVillagerFaceSet},
      {{"System", "Sistema", "png", 160, 80}, MakeSystemGraphic},
      {{"System", "SistemaNoche", "png", 160, 80}, MakeNightSystemGraphic},
      {{"Title", "Titulo", "png", 320, 240}, MakeTitle},
      {{"GameOver", "FinDelJuego", "png", 320, 240}, MakeGameOver},
      {{"Monster", "Limo", "png", 0, 0}, [](const fs::path& f) { MakeMonster(f, 0); }},
      {{"Monster", "Murcielago", "png", 0, 0}, [](const fs::path& f) { MakeMonster(f, 1); }},
      {{"Monster", "Seta", "png", 0, 0}, [](const fs::path& f) { MakeMonster(f, 2); }},
      {{"Monster", "Golem", "png", 0, 0}, [](const fs::path& f) { MakeMonster(f, 3); }},
      {{"Monster", "Espectro", "png", 0, 0}, [](const fs::path& f) { MakeMonster(f, 4); }},
      {{"Monster", "Dragon", "png", 0, 0}, [](const fs::path& f) { MakeMonster(f, 5); }},
      {{"Backdrop", "Pradera", "png", 320, 160}, [](const fs::path& f) { MakeBackdrop(f, 0); }},
      {{"Backdrop", "Bosque", "png", 320, 160}, [](const fs::path& f) { MakeBackdrop(f, 1); }},
      {{"Backdrop", "Cueva", "png", 320, 160}, [](const fs::path& f) { MakeBackdrop(f, 2); }},
      {{"Backdrop", "Playa", "png", 320, 160}, [](const fs::path& f) { MakeBackdrop(f, 3); }},
      {{"Backdrop", "Nieve", "png", 320, 160}, [](const fs::path& f) { MakeBackdrop(f, 4); }},
      {{"Panorama", "Cielo", "png", 320, 240}, [](const fs::path& f) { MakePanorama(f, 0); }},
      {{"Panorama", "Noche", "png", 320, 240}, [](const fs::path& f) { MakePanorama(f, 1); }},
      {{"Picture", "Mapamundi", "png", 0, 0}, [](const fs::path& f) { MakePicture(f, 0); }},
      {{"Picture", "Carta", "png", 0, 0}, [](const fs::path& f) { MakePicture(f, 1); }},
      {{"Battle", "Golpes", "png", 480, 480}, [](const fs::path& f) { MakeBattleSheet(f, 0); }},
      {{"Battle", "Fuego", "png", 480, 480}, [](const fs::path& f) { MakeBattleSheet(f, 1); }},
      {{"Battle", "Hielo", "png", 480, 480}, [](const fs::path& f) { MakeBattleSheet(f, 2); }},
      {{"Battle", "Luz", "png", 480, 480}, [](const fs::path& f) { MakeBattleSheet(f, 3); }},
  };
  return list;
}

std::vector<TEntry> allEntries() {
  std::vector<TEntry> all = entries();
  for (const auto& s : SoundEffects())
    all.push_back({{"Sound", s, "wav"}, [s](const fs::path& f) { WriteSoundEffect(f, s); }});
  for (const auto& m : MusicPieces())
    all.push_back({{"Music", m, "mid"}, [m](const fs::path& f) { WriteMusic(f, m); }});
  return all;
}

}  // namespace

const std::vector<TRtpMaterial>& RtpMaterials() {
  static const std::vector<TRtpMaterial> list = [] {
    std::vector<TRtpMaterial> out;
    for (const auto& e : allEntries()) out.push_back(e.Material);
    return out;
  }();
  return list;
}

void GenerateRtp(const fs::path& folder) {
  static const char* const kFolders[] = {"Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet",
                                         "GameOver", "Monster", "Movie", "Music", "Panorama",
                                         "Picture", "Sound", "System", "Title"};
  for (const char* f : kFolders) fs::create_directories(folder / f);
  for (const auto& e : allEntries())
    e.Make(folder / e.Material.Folder / (e.Material.Name + "." + e.Material.Extension));
}
