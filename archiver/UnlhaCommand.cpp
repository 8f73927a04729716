#include "UnlhaCommand.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <new>

#include "LhaError.h"
#include "LhaText.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void badCommand(const std::string& what) { throw ELhaError(LhaBadCommand, what); }

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && isSpace(s[a])) ++a;
  while (b > a && isSpace(s[b - 1])) --b;
  return s.substr(a, b - a);
}

std::string unquote(std::string s) {
  s = trim(s);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  s.erase(std::remove(s.begin(), s.end(), '"'), s.end());
  return s;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Windows-style match: case-insensitive, '*' any run, '?' one character. Backtracks only to
// the last '*', so no pattern can make it slow.
bool wildMatch(const char* p, const char* s) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*s) {
    if (*p == '*') {
      star = ++p;
      resume = s;
    } else if (*p && (*p == '?' || lowerAscii(*p) == lowerAscii(*s))) {
      ++p;
      ++s;
    } else if (star) {
      p = star;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return !*p;
}

bool equalsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

// The sorted names of a folder as the file system has them (UTF-8). They are converted to
// Windows-1252 only when stored, so a name that cannot be is refused only if it is packed.
std::vector<std::pair<std::string, fs::path>> folderNames(const fs::path& folder) {
  std::vector<std::pair<std::string, fs::path>> names;
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  if (ec) throw ELhaError(LhaFileError, "No se puede leer la carpeta: " + LhaFsToUtf8(folder));
  for (; it != end; it.increment(ec)) {
    if (ec) throw ELhaError(LhaFileError, "No se puede leer la carpeta: " + LhaFsToUtf8(folder));
    names.push_back({LhaFsToUtf8(it->path().filename()), it->path()});
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string normaliseName(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  while (!name.empty() && name.back() == '/') name.pop_back();
  std::vector<std::string> comps = LhaSafeComponents(name);   // also refuses "..", "/x", "C:"
  std::string out;
  for (const auto& c : comps) out += (out.empty() ? "" : "/") + c;
  if (out.empty()) badCommand("Nombre vacío en la lista de archivos.");
  return out;
}

}  // namespace

void TLhaPackList::SetBase(const std::string& cp1252Folder) { Base = LhaToFsPath(cp1252Folder); }

void TLhaPackList::AddName(const std::string& raw) {
  std::string name;
  try {
    name = normaliseName(raw);
  } catch (const ELhaError&) {
    badCommand("Ruta no admitida en la lista de archivos: " + LhaCp1252ToUtf8(raw));
  }
  size_t cut = name.rfind('/');
  std::string dir = cut == std::string::npos ? std::string() : name.substr(0, cut);
  std::string last = cut == std::string::npos ? name : name.substr(cut + 1);
  if (dir.find_first_of("*?") != std::string::npos)
    badCommand("Comodines solo en el último nombre: " + LhaCp1252ToUtf8(raw));
  const fs::path folder = dir.empty() ? Base : Base / LhaToFsPath(dir);
  const std::string prefix = dir.empty() ? std::string() : dir + "/";
  if (last.find_first_of("*?") != std::string::npos) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;   // a pattern may match nothing
    const std::string pattern = LhaCp1252ToUtf8(last);
    for (const auto& [n, p] : folderNames(folder))
      if (wildMatch(pattern.c_str(), n.c_str())) addPath(prefix + LhaFsNameToCp1252(n), p);
    return;
  }
  fs::path source = folder / LhaToFsPath(last);
  std::error_code ec;
  if (!fs::exists(source, ec) && fs::is_directory(folder, ec)) {
    // Names come from Windows, where case does not matter.
    const std::string wanted = LhaCp1252ToUtf8(last);
    for (const auto& [n, p] : folderNames(folder))
      if (equalsNoCase(n, wanted)) {
        addPath(prefix + LhaFsNameToCp1252(n), p);
        return;
      }
  }
  if (!fs::exists(source, ec))
    throw ELhaError(LhaFileError, "No se encuentra: " + LhaFsToUtf8(source));
  addPath(name, source);
}

void TLhaPackList::AddResponseFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ELhaError(LhaFileError, "No se puede abrir la lista: " + LhaFsToUtf8(file));
  std::string line;
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty()) continue;
    if (line.front() == '"') SetBase(unquote(line));
    else AddName(line);
  }
}

void TLhaPackList::addPath(const std::string& name, const fs::path& source) {
  std::error_code ec;
  if (!Exclude.empty() && fs::weakly_canonical(source, ec) == Exclude) return;
  // 0xFF separates folders inside the archive; readers would split the name there.
  if (name.find(char(0xFF)) != std::string::npos)
    throw ELhaError(LhaBadName, "Nombre con el carácter ÿ, que el archivo no admite: " +
                                    LhaFsToUtf8(source));
  if (fs::is_directory(source, ec)) {
    if (FolderEntries) addFolder(name, source);
    if (Recurse) addFolderTree(name, source);
  } else if (fs::is_regular_file(source, ec)) {
    addFile(name, source);
  }
}

void TLhaPackList::addFolderTree(const std::string& name, const fs::path& folder) {
  for (const auto& [n, p] : folderNames(folder)) {
    std::error_code ec;
    auto st = fs::symlink_status(p, ec);
    // Linked folders are not followed: they could loop or lead anywhere.
    if (fs::is_symlink(st) && fs::is_directory(p, ec)) continue;
    addPath(name + "/" + LhaFsNameToCp1252(n), p);
  }
}

void TLhaPackList::addFile(const std::string& name, const fs::path& source) {
  auto found = Index.find(name);
  if (found == Index.end()) {
    Index[name] = List.size();
    List.push_back({source, name, false});
    return;
  }
  TLhaPackItem& it = List[found->second];
  if (it.IsDirectory)
    throw ELhaError(LhaBadName, "Nombre repetido como carpeta y archivo: " + LhaCp1252ToUtf8(name));
  it.Source = source;   // a later base wins, as extracting both in order would make it
}

void TLhaPackList::addFolder(const std::string& name, const fs::path& source) {
  auto found = Index.find(name);
  if (found == Index.end()) {
    Index[name] = List.size();
    List.push_back({source, name, true});
    return;
  }
  if (!List[found->second].IsDirectory)
    throw ELhaError(LhaBadName, "Nombre repetido como carpeta y archivo: " + LhaCp1252ToUtf8(name));
}

namespace {

struct TCommand {
  char Verb = 0;
  bool Recurse = false, FolderEntries = false;
  std::vector<std::string> Args;    // archive first, then names or the destination
  std::vector<std::string> Responses;
};

// Splits the command line: double quotes group (and are dropped); an '@' at the start of a
// word takes the rest of the line as the response file's path, so a path with spaces works
// without quotes.
TCommand parseCommand(const std::string& line) {
  TCommand cmd;
  std::vector<std::string> words;
  for (size_t i = 0; i < line.size();) {
    if (isSpace(line[i])) { ++i; continue; }
    if (line[i] == '@') {
      std::string rest = unquote(line.substr(i + 1));
      if (rest.empty()) badCommand("Falta el nombre de la lista tras '@'.");
      cmd.Responses.push_back(rest);
      break;
    }
    std::string w;
    bool quoted = false;
    for (; i < line.size() && (quoted || !isSpace(line[i])); ++i) {
      if (line[i] == '"') quoted = !quoted;
      else w += line[i];
    }
    words.push_back(w);
  }
  if (words.empty()) badCommand("Línea de órdenes vacía.");
  std::string verb = words[0];
  if (verb.size() != 1 || std::string("axlt").find(lowerAscii(verb[0])) == std::string::npos)
    badCommand("Orden desconocida: " + LhaCp1252ToUtf8(verb));
  cmd.Verb = lowerAscii(verb[0]);
  for (size_t k = 1; k < words.size(); ++k) {
    const std::string& w = words[k];
    if (w.size() > 1 && w[0] == '-') {
      if (w == "-r" || w == "-r1" || w == "-r2") cmd.Recurse = true;
      else if (w == "-r0") cmd.Recurse = false;
      else if (w == "-d" || w == "-d1") cmd.FolderEntries = true;
      else if (w == "-d0") cmd.FolderEntries = false;
      else if (w != "-+" && w != "-jsl") badCommand("Opción desconocida: " + LhaCp1252ToUtf8(w));
      continue;
    }
    cmd.Args.push_back(w);
  }
  if (cmd.Args.empty()) badCommand("Falta el nombre del archivo.");
  return cmd;
}

std::string listing(const std::vector<TLhaEntry>& entries) {
  std::string out;
  char buf[96];
  for (const auto& e : entries) {
    std::snprintf(buf, sizeof buf, "%10llu %10llu %s %04x ", (unsigned long long)e.OriginalSize,
                  (unsigned long long)e.PackedSize, e.Method.c_str(), unsigned(e.Crc));
    out += buf;
    out += LhaCp1252ToUtf8(e.Path) + (e.IsDirectory() ? "/" : "") + "\n";
  }
  return out;
}

void runCommand(const TCommand& cmd, std::string& output) {
  const fs::path archive = LhaToFsPath(cmd.Args[0]);
  switch (cmd.Verb) {
    case 'a': {
      std::error_code ec;
      TLhaPackList list(cmd.Recurse, cmd.FolderEntries, fs::weakly_canonical(archive, ec));
      for (size_t k = 1; k < cmd.Args.size(); ++k) list.AddName(cmd.Args[k]);
      for (const auto& r : cmd.Responses) list.AddResponseFile(LhaToFsPath(r));
      if (list.Items().empty()) badCommand("No hay nada que archivar.");
      LhaPack(archive, list.Items());
      break;
    }
    case 'x': {
      if (cmd.Args.size() > 2 || !cmd.Responses.empty())
        badCommand("La extracción admite solo el archivo y la carpeta de destino.");
      LhaExtract(archive, cmd.Args.size() > 1 ? LhaToFsPath(cmd.Args[1]) : fs::path("."));
      break;
    }
    case 'l': output = listing(LhaList(archive)); break;
    case 't': LhaTest(archive); break;
  }
}

}  // namespace

int RunUnlha(const std::string& cmdLine, std::string& output) {
  output.clear();
  try {
    runCommand(parseCommand(cmdLine), output);
    return LhaOk;
  } catch (const ELhaError& e) {
    output = e.what();
    return e.Code;
  } catch (const std::bad_alloc&) {
    output = "Memoria insuficiente.";
  } catch (const std::exception& e) {
    output = e.what();
  } catch (...) {
    output = "Error interno del archivador.";
  }
  return LhaInternal;
}
