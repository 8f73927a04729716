#include "PackCommand.h"

#include "ProgramFolder.h"
#include "ProjPackCore.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <iostream>

const char* const kPackHelp =
    "  pack PROYECTO DESTINO [--rtp]\n"
    "                          crea el disco de instalación del juego en la carpeta DESTINO\n"
    "                          (Setup.exe, Setup.ini, UNLHA32.DLL, UNLHA32.TXT y el archivo\n"
    "                          PROYECTO.lzh; en disquetes, volúmenes .001, .002...); --rtp\n"
    "                          incluye el RTP instalado\n";

namespace {
QString fromArg(const std::string& s)
{
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
}
} // namespace

int RunPackCommand(int argc, char** argv, const std::vector<std::string>& args, std::ostream& err)
{
    std::vector<std::string> positional;
    bool rtp = false;
    for (const std::string& a : args) {
        if (a == "--rtp")
            rtp = true;
        else if (a.size() > 1 && a[0] == '-')
            return err << "tfdata: opción desconocida \"" << a << "\"\n", 1;
        else
            positional.push_back(a);
    }
    if (positional.size() != 2) {
        err << "tfdata: la orden pack necesita PROYECTO y DESTINO\n";
        return 1;
    }
    // The program folder (Setup.exe.dat, UNLHA32.*) and the registry need an application object.
    QCoreApplication app(argc, argv);
    const QString project = QDir(fromArg(positional[0])).absolutePath();
    const QString destination = QDir(fromArg(positional[1])).absolutePath();
    TGamePacker packer({project, destination, rtp, RuntimePackagePath(), ProgramFolder()});
    packer.Unlha = LoadUnlha(ProgramFolder());
    packer.Copy = CopyWithoutProgress;
    packer.TellDiskCount = [&err](int count) {
        err << QStringLiteral("Se necesitan %1 disquetes de 1.44 MB.").arg(count).toStdString() << "\n";
    };
    // A line on standard input stands for OK; its end for Cancel.
    packer.AskDisk = [&err](int disk) {
        err << QStringLiteral("Por favor, inserte el disco %1 previamente formateado. [Intro: Aceptar]")
                   .arg(disk)
                   .toStdString()
            << std::endl;
        std::string line;
        return bool(std::getline(std::cin, line));
    };
    if (packer.Run()) {
        err << "Creación de la instalación del juego completada.\n";
        return 0;
    }
    if (!packer.Error().isEmpty())
        err << "tfdata: " << packer.Error().toStdString() << "\n";
    err << "Creación de la instalación del juego interrumpida.\n";
    return 1;
}
