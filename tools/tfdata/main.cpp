// tfdata: dumps project files (maps, the map tree, the database) as JSON and builds them back.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>

#include "AtomicFile.h"
#include "FileKinds.h"
#include "RecordJson.h"
#include "VudError.h"
#ifdef TF_TFDATA_PAINT
#include "PaintCommand.h"
#include "RenderCommand.h"
#endif
#ifdef TF_TFDATA_PACK
#include "PackCommand.h"
#endif

namespace fs = std::filesystem;

namespace {

// Far above any project file the editor writes; more is refused before it is read.
constexpr uint64_t kMaxFileSize = uint64_t(512) << 20;
// JSON values cost far more memory than the text: keep builds bounded.
constexpr uint64_t kMaxJsonSize = uint64_t(64) << 20;

const char* kHelp =
    "Uso: tfdata ORDEN ARGUMENTOS\n"
    "\n"
    "Órdenes:\n"
    "  dump ARCHIVO            muestra el archivo como JSON en la salida estándar\n"
    "  build JSON SALIDA       escribe el archivo descrito por el JSON (sin contar guardados)\n"
    "  resave ENTRADA SALIDA   carga y guarda como el editor (SaveCount sube en uno)\n"
    "  validate ARCHIVO        carga estricta: sale con 0 si el archivo está bien\n"
    "  --help                  muestra esta ayuda\n"
    "\n"
    "Archivos: MapNNNN.lmu (VudMapUnit), TFPLAY.lmt (VudMapTree) y TFPLAY.ldb (VudDataBase)\n"
    "cuando está disponible. El tipo se reconoce por el nombre de formato del archivo.\n"
    "Los textos se muestran en Unicode; en el archivo se guardan en Windows-1252.\n"
    "Sale con 0 si todo va bien y con 1 y un mensaje en la salida de errores si no.\n";

struct Failure {
    std::string Message;
};

std::unique_ptr<TFileDoc> loadDoc(const fs::path& file)
{
    const auto bytes = ReadWholeFile(file, kMaxFileSize);
    std::string format;
    try {
        format = ReadFormatName(bytes);
    } catch (const EVudError&) {
        throw Failure{file.string() + ": no es un archivo de proyecto (falta el nombre de formato)"};
    }
    const TFileKind* kind = FindFileKind(format);
    if (!kind)
        throw Failure{file.string() + ": formato desconocido \"" + format + "\""};
    auto doc = kind->Make();
    TReader r(bytes);
    try {
        doc->Load(r);
    } catch (const EVudError& e) {
        throw Failure{file.string() + ": archivo " + format + " dañado o truncado (" + e.what() + ")"};
    }
    // The editor would ignore them, but a sound file ends where its content ends.
    if (!r.AtEnd())
        throw Failure{file.string() + ": " + std::to_string(r.Remaining()) + " bytes de más al final del archivo " +
                      format};
    return doc;
}

std::string readText(const fs::path& file)
{
    const auto bytes = ReadWholeFile(file, kMaxJsonSize);
    return std::string(bytes.begin(), bytes.end());
}

int dump(const fs::path& file)
{
    const std::string text = loadDoc(file)->ToJson().Dump();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int build(const fs::path& jsonFile, const fs::path& out)
{
    Json j;
    try {
        j = Json::Parse(readText(jsonFile));
    } catch (const JsonError& e) {
        throw Failure{jsonFile.string() + ": " + e.what()};
    }
    const Json* format = j.IsObject() ? j.Find("Format") : nullptr;
    if (!format || !format->IsString())
        throw Failure{jsonFile.string() + ": falta \"Format\" (el nombre de formato del archivo)"};
    const TFileKind* kind = FindFileKind(format->AsString());
    if (!kind)
        throw Failure{jsonFile.string() + ": formato desconocido \"" + format->AsString() + "\""};
    auto doc = kind->Make();
    try {
        doc->FromJson(j);
    } catch (const EBuildError& e) {
        throw Failure{jsonFile.string() + ": " + e.what()};
    }
    SaveFileAtomic(out, doc->Save());
    return 0;
}

int resave(const fs::path& in, const fs::path& out)
{
    auto doc = loadDoc(in);
    doc->CountSave();
    SaveFileAtomic(out, doc->Save());
    return 0;
}

int validate(const fs::path& file)
{
    loadDoc(file);
    std::printf("%s: correcto\n", file.string().c_str());
    return 0;
}

int usage(const std::string& why)
{
    std::fprintf(stderr, "tfdata: %s\n%s", why.c_str(), "Escriba \"tfdata --help\" para ver las órdenes.\n");
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage("falta la orden");
    const std::string& cmd = args[0];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        std::fputs(kHelp, stdout);
#ifdef TF_TFDATA_PAINT
        std::fputs(kPaintHelp, stdout);
        std::fputs(kRenderHelp, stdout);
#endif
#ifdef TF_TFDATA_PACK
        std::fputs(kPackHelp, stdout);
#endif
        return 0;
    }
#ifdef TF_TFDATA_PAINT
    if (cmd == "paint")
        return RunPaintCommand({args.begin() + 1, args.end()}, std::cerr);
    if (cmd == "render")
        return RunRenderCommand({args.begin() + 1, args.end()}, std::cerr);
#endif
#ifdef TF_TFDATA_PACK
    if (cmd == "pack")
        return RunPackCommand(argc, argv, {args.begin() + 1, args.end()}, std::cerr);
#endif
    const struct {
        const char* name;
        size_t argc;
    } commands[] = {{"dump", 1}, {"build", 2}, {"resave", 2}, {"validate", 1}};
    for (const auto& c : commands) {
        if (cmd != c.name)
            continue;
        if (args.size() != c.argc + 1)
            return usage("la orden " + cmd + " necesita " + std::to_string(c.argc) +
                         (c.argc == 1 ? " argumento" : " argumentos"));
        try {
            if (cmd == "dump")
                return dump(args[1]);
            if (cmd == "build")
                return build(args[1], args[2]);
            if (cmd == "resave")
                return resave(args[1], args[2]);
            return validate(args[1]);
        } catch (const Failure& f) {
            std::fprintf(stderr, "tfdata: %s\n", f.Message.c_str());
        } catch (const EVudError& e) {
            std::fprintf(stderr, "tfdata: %s\n", e.what());
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "tfdata: memoria insuficiente\n");
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tfdata: %s\n", e.what());
        }
        return 1;
    }
    return usage("orden desconocida \"" + cmd + "\"");
}
