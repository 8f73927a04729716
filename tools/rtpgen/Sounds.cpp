#include "Sounds.h"

#include "AtomicFile.h"

#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

constexpr int kRate = 22050;
constexpr double kTau = 6.283185307179586;

// A tone: frequency sweep, waveform and envelope; effects are sums of a few tones and noise.
struct TTone {
  double Start, Length, FreqFrom, FreqTo, Volume;
  int Wave;  // 0 sine, 1 square, 2 triangle, 3 noise
};

std::vector<double> render(const std::vector<TTone>& tones) {
  double total = 0;
  for (const auto& t : tones) total = std::max(total, t.Start + t.Length);
  std::vector<double> out(std::size_t(total * kRate) + 1, 0.0);
  std::uint32_t noise = 0x12345678u;
  for (const auto& t : tones) {
    const std::size_t first = std::size_t(t.Start * kRate), count = std::size_t(t.Length * kRate);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
      const double at = double(i) / count;
      const double f = t.FreqFrom + (t.FreqTo - t.FreqFrom) * at;
      phase += f / kRate;
      const double p = phase - std::floor(phase);
      double v;
      switch (t.Wave) {
        case 1: v = p < 0.5 ? 0.6 : -0.6; break;
        case 2: v = 4 * std::abs(p - 0.5) - 1; break;
        case 3: noise = noise * 1664525u + 1013904223u; v = ((noise >> 9) & 0xFFFF) / 32768.0 - 1; break;
        default: v = std::sin(kTau * p);
      }
      // Short attack, exponential decay.
      const double env = std::min(1.0, i / (0.004 * kRate)) * std::exp(-3.0 * at) * (1 - at * at * at);
      out[first + i] += v * env * t.Volume;
    }
  }
  return out;
}

std::vector<std::uint8_t> wav(const std::vector<double>& samples) {
  std::vector<std::uint8_t> b;
  auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i))); };
  auto u16 = [&](std::uint16_t v) { b.push_back(std::uint8_t(v)), b.push_back(std::uint8_t(v >> 8)); };
  const std::uint32_t data = std::uint32_t(samples.size() * 2);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  u32(36 + data);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16), u16(1), u16(1), u32(kRate), u32(kRate * 2), u16(2), u16(16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  u32(data);
  for (double s : samples) u16(std::uint16_t(std::int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 30000))));
  return b;
}

const std::map<std::string, std::vector<TTone>>& effects() {
  static const std::map<std::string, std::vector<TTone>> table = {
      {"Cursor", {{0, 0.05, 1400, 1400, 0.35, 1}}},
      {"Decision", {{0, 0.06, 880, 880, 0.35, 1}, {0.06, 0.12, 1320, 1320, 0.35, 1}}},
      {"Cancelar", {{0, 0.06, 700, 700, 0.35, 1}, {0.06, 0.1, 470, 470, 0.35, 1}}},
      {"Zumbido", {{0, 0.25, 110, 100, 0.5, 1}, {0, 0.25, 116, 104, 0.4, 1}}},
      {"Golpe", {{0, 0.15, 0, 0, 0.7, 3}, {0, 0.12, 220, 60, 0.6, 0}}},
      {"Tajo", {{0, 0.2, 0, 0, 0.5, 3}, {0, 0.18, 2400, 600, 0.25, 2}}},
      {"Curar", {{0, 0.15, 660, 660, 0.3, 0}, {0.08, 0.15, 880, 880, 0.3, 0}, {0.16, 0.3, 1320, 1320, 0.3, 0}}},
      {"Fuego", {{0, 0.5, 0, 0, 0.6, 3}, {0, 0.4, 180, 90, 0.3, 2}}},
      {"Hielo", {{0, 0.35, 2600, 3200, 0.25, 0}, {0.05, 0.35, 3100, 2500, 0.2, 0}, {0, 0.1, 0, 0, 0.3, 3}}},
      {"Magia", {{0, 0.4, 400, 1600, 0.3, 2}, {0.1, 0.4, 600, 2400, 0.2, 0}}},
      {"Batalla", {{0, 0.12, 300, 900, 0.4, 1}, {0.12, 0.12, 450, 1350, 0.4, 1}, {0.24, 0.35, 600, 1800, 0.4, 1}}},
      {"Escapar", {{0, 0.3, 900, 200, 0.35, 2}, {0, 0.3, 0, 0, 0.15, 3}}},
      {"AtaqueEnemigo", {{0, 0.18, 500, 150, 0.5, 1}}},
      {"Dano", {{0, 0.2, 0, 0, 0.6, 3}, {0, 0.2, 160, 70, 0.5, 1}}},
      {"Esquivar", {{0, 0.15, 1800, 3000, 0.25, 0}}},
      {"MuerteEnemigo", {{0, 0.5, 800, 80, 0.45, 1}, {0, 0.5, 0, 0, 0.2, 3}}},
      {"Objeto", {{0, 0.1, 1046, 1046, 0.3, 2}, {0.1, 0.1, 1318, 1318, 0.3, 2}, {0.2, 0.25, 1568, 1568, 0.3, 2}}},
      {"Puerta", {{0, 0.25, 140, 120, 0.5, 2}, {0, 0.08, 0, 0, 0.3, 3}}},
      {"Cofre", {{0, 0.08, 300, 300, 0.4, 2}, {0.1, 0.3, 784, 1568, 0.3, 0}}},
      {"Salto", {{0, 0.2, 300, 900, 0.4, 1}}},
  };
  return table;
}

// --- MIDI ------------------------------------------------------------------------------------

struct TNote {
  int Tick, Length, Channel, Key, Velocity;
};

struct TPiece {
  int Tempo;  // beats per minute
  std::vector<std::pair<int, int>> Programs;  // channel, General MIDI program
  std::vector<TNote> Notes;
  int Ticks;  // length, for the end of track
};

constexpr int kPpq = 96;

// Bars of a chord progression: melody notes from a scale, a bass line and chords.
TPiece compose(int tempo, const std::vector<int>& progression, const std::vector<int>& melody,
               int root, bool minor, int melodyProgram, int chordProgram, int bassProgram, bool drums) {
  TPiece p{tempo, {{0, melodyProgram}, {1, chordProgram}, {2, bassProgram}}, {}, 0};
  static const int major[7] = {0, 2, 4, 5, 7, 9, 11}, minorScale[7] = {0, 2, 3, 5, 7, 8, 10};
  const int* scale = minor ? minorScale : major;
  auto degree = [&](int d, int octave) {
    const int o = d >= 0 ? d / 7 : (d - 6) / 7;
    return root + 12 * (octave + o) + scale[((d % 7) + 7) % 7];
  };
  const int bar = 4 * kPpq;
  for (std::size_t b = 0; b < progression.size(); ++b) {
    const int t = int(b) * bar, d = progression[b];
    for (int n : {0, 2, 4}) p.Notes.push_back({t, bar - 8, 1, degree(d + n, 0), 56});
    for (int beat = 0; beat < 4; ++beat)
      p.Notes.push_back({t + beat * kPpq, kPpq - 12, 2, degree(d + (beat % 2 ? 4 : 0), -1), 80});
    if (drums)
      for (int beat = 0; beat < 8; ++beat)
        p.Notes.push_back({t + beat * kPpq / 2, 20, 9, beat % 4 == 0 ? 36 : (beat % 4 == 2 ? 38 : 42), beat % 2 ? 50 : 80});
  }
  // Melody: eighth-note steps of scale degrees; 99 is a rest, 98 holds the previous note.
  int t = 0;
  for (std::size_t i = 0; i < melody.size(); ++i) {
    const int len = kPpq / 2;
    if (melody[i] < 98) {
      int hold = len;
      while (i + 1 < melody.size() && melody[i + 1] == 98) hold += len, ++i;
      p.Notes.push_back({t, hold - 6, 0, degree(melody[i], 1), 96});
      t += hold;
    } else {
      t += len;
    }
  }
  p.Ticks = int(progression.size()) * bar;
  return p;
}

const std::map<std::string, TPiece>& pieces() {
  static const std::map<std::string, TPiece> table = {
      {"Titulo", compose(84, {0, 5, 3, 4, 0, 5, 3, 4},
                         {4, 98, 98, 2, 3, 98, 4, 98, 5, 98, 4, 3, 2, 98, 98, 99, 0, 98, 2, 98, 4, 98, 7, 98, 6, 98, 4, 98, 5, 98, 98, 99,
                          4, 98, 98, 2, 3, 98, 4, 98, 5, 98, 7, 98, 8, 98, 98, 99, 7, 98, 6, 4, 5, 98, 3, 98, 4, 98, 98, 98, 98, 98, 98, 99},
                         60, false, 73, 48, 32, false)},
      {"Campo", compose(112, {0, 3, 4, 0, 5, 3, 1, 4},
                        {0, 2, 4, 98, 4, 5, 4, 2, 3, 98, 5, 98, 3, 2, 1, 98, 2, 4, 6, 98, 7, 6, 4, 2, 4, 98, 98, 98, 99, 2, 3, 4,
                         5, 98, 4, 98, 2, 98, 0, 98, 3, 5, 7, 98, 5, 3, 2, 98, 1, 2, 3, 98, 5, 98, 3, 98, 1, 98, 98, 98, 98, 99, 99, 99},
                        62, false, 71, 0, 33, true)},
      {"Batalla", compose(150, {0, 0, 5, 6, 0, 0, 3, 4},
                          {0, 0, 2, 0, 3, 98, 2, 0, 4, 98, 3, 2, 3, 98, 98, 99, 0, 0, 2, 0, 3, 98, 4, 5, 6, 98, 5, 4, 5, 98, 98, 99,
                           7, 98, 6, 5, 4, 98, 5, 6, 7, 98, 9, 98, 7, 98, 98, 99, 6, 5, 4, 3, 2, 98, 3, 4, 4, 98, 98, 98, 98, 99, 99, 99},
                          57, true, 30, 48, 38, true)},
      {"Victoria", compose(132, {0, 3, 4, 0},
                           {4, 4, 4, 98, 4, 98, 2, 98, 3, 98, 4, 98, 5, 98, 98, 98, 4, 98, 5, 98, 6, 98, 7, 98, 98, 98, 98, 98, 99, 99, 99, 99},
                           60, false, 56, 48, 33, true)},
      {"Posada", compose(72, {0, 3, 0, 4},
                         {4, 98, 2, 98, 0, 98, 98, 98, 3, 98, 4, 98, 5, 98, 98, 98, 4, 98, 2, 98, 1, 98, 2, 98, 0, 98, 98, 98, 98, 98, 98, 99},
                         65, false, 46, 0, 32, false)},
      {"Barco", compose(96, {0, 4, 5, 3, 0, 4, 3, 4},
                        {0, 98, 98, 4, 98, 98, 7, 98, 6, 98, 98, 4, 98, 98, 2, 98, 3, 98, 98, 5, 98, 98, 4, 98, 2, 98, 98, 98, 98, 98, 98, 99},
                        62, false, 22, 48, 32, false)},
      {"FinDelJuego", compose(60, {0, 5, 3, 4},
                              {4, 98, 3, 98, 2, 98, 98, 98, 1, 98, 0, 98, -1, 98, 98, 98, 0, 98, 98, 98, 98, 98, 98, 98, 99, 99, 99, 99, 99, 99, 99, 99},
                              57, true, 19, 48, 32, false)},
  };
  return table;
}

std::vector<std::uint8_t> midi(const TPiece& p) {
  struct TEvent { int Tick, Order; std::vector<std::uint8_t> Bytes; };
  std::vector<TEvent> events;
  const std::uint32_t usPerBeat = std::uint32_t(60000000 / p.Tempo);
  events.push_back({0, 0, {0xFF, 0x51, 0x03, std::uint8_t(usPerBeat >> 16), std::uint8_t(usPerBeat >> 8), std::uint8_t(usPerBeat)}});
  for (auto [ch, prog] : p.Programs) events.push_back({0, 1, {std::uint8_t(0xC0 | ch), std::uint8_t(prog)}});
  for (const auto& n : p.Notes) {
    events.push_back({n.Tick, 3, {std::uint8_t(0x90 | n.Channel), std::uint8_t(n.Key), std::uint8_t(n.Velocity)}});
    events.push_back({n.Tick + n.Length, 2, {std::uint8_t(0x80 | n.Channel), std::uint8_t(n.Key), 0}});
  }
  std::stable_sort(events.begin(), events.end(), [](const TEvent& a, const TEvent& b) {
    return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
  });
  std::vector<std::uint8_t> track;
  int last = 0;
  auto vlq = [&](std::uint32_t v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7) buf[n++] = std::uint8_t(0x80 | (v & 0x7F));
    while (n) track.push_back(buf[--n]);
  };
  for (const auto& e : events) {
    vlq(std::uint32_t(e.Tick - last));
    last = e.Tick;
    track.insert(track.end(), e.Bytes.begin(), e.Bytes.end());
  }
  vlq(std::uint32_t(std::max(0, p.Ticks - last)));
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, kPpq, 'M', 'T', 'r', 'k'};
  const std::uint32_t size = std::uint32_t(track.size());
  for (int i = 3; i >= 0; --i) out.push_back(std::uint8_t(size >> (8 * i)));
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

}  // namespace

const std::vector<std::string>& SoundEffects() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const auto& [name, tones] : effects()) v.push_back(name);
    return v;
  }();
  return names;
}

const std::vector<std::string>& MusicPieces() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const auto& [name, piece] : pieces()) v.push_back(name);
    return v;
  }();
  return names;
}

std::vector<std::uint8_t> SoundEffectBytes(const std::string& name) {
  return wav(render(effects().at(name)));
}

std::vector<std::uint8_t> MusicBytes(const std::string& name) {
  return midi(pieces().at(name));
}

void WriteSoundEffect(const std::filesystem::path& file, const std::string& name) {
  SaveFileAtomic(file, SoundEffectBytes(name));
}

void WriteMusic(const std::filesystem::path& file, const std::string& name) {
  SaveFileAtomic(file, MusicBytes(name));
}
