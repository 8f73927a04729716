// The checks before the editor's window exists, in their fixed order: screen, run-time package,
// archiver library, DirectX. Each asks a probe, so tests can stage any machine.
#pragma once
#include <QSize>
#include <QString>
#include <functional>

struct TStartupProbes {
    std::function<QSize()> ScreenSize;
    std::function<int()> ColorDepth; // bits per pixel
    std::function<bool()> RuntimePackageInstalled;
    std::function<bool()> ArchiverLoaded;
    std::function<bool()> DirectXPresent;
};

enum class TStartupCheck { Passed, Screen, RuntimePackage, Archiver, DirectX };

// The probes of this machine: the primary QScreen, the run-time package folder, UNLHA32.DLL of
// the program folder (loaded once and kept), and a DirectX test that has nothing to test here.
TStartupProbes SystemStartupProbes();

// Runs the checks in order and shows the first failure's message; Passed when all pass.
TStartupCheck RunStartupChecks(const TStartupProbes& probes);
QString StartupMessage(TStartupCheck check);

// Loads the archiver library from the program folder; true when it exports "Unlha".
bool LoadArchiverLibrary();
// True when the run-time package folder exists and holds anything.
bool RuntimePackageInstalled();

// The program: single instance, checks, splash, main window, message loop.
int RunEditor(int argc, char** argv);
