// From nothing to the main window on screen with the last project open: the start-up checks,
// the window with its views, the database, the map tree and a 100 x 100 map loaded. Runs
// offscreen inside a temporary folder; uses the program folder's run-time package and default
// database when the build made them.
#include "MainUnit.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "SingleInstance.h"
#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {
void BM_StartToMainWindowWithProject(benchmark::State& state)
{
    QTemporaryDir tmp;
    RegistryStore::SetRootForTests(tmp.path() + "/registry");
    SetScratchParentForTests(tmp.path());
    ResetScratchFolder();
    SingleInstance::SetFolderForTests(tmp.path());
    const QString real = QStringLiteral(TF_PROGRAM_DIR "/");
    const QString program = tmp.path() + "/program/";
    WriteTemplates(program);
    if (QFile::exists(real + "TFPLAY.ldb.dat")) {
        QFile::remove(program + "TFPLAY.ldb.dat");
        QFile::copy(real + "TFPLAY.ldb.dat", program + "TFPLAY.ldb.dat");
    }
    QFile::copy(real + "UNLHA32.DLL", program + "UNLHA32.DLL");
    SetProgramFolderForTests(program);
    if (QDir(real + "RTP").exists())
        WriteRuntimePackagePathValue(real + "RTP");
    else
        QDir().mkpath(program + "RTP/ChipSet");
    QDir().mkpath(tmp.path() + "/projects");
    WriteProjectBasePath(tmp.path() + "/projects/");
    MakeProject("Proyecto1", "Juego");
    ScopedMessageService boxes;
    for (auto _ : state) {
        WriteOpenedProjectFolder("Proyecto1");
        RunStartupChecks(SystemStartupProbes());
        auto* window = new TFormVudMain;
        window->show();
        QApplication::processEvents();
        if (!window->ProjectManager().Opened())
            state.SkipWithError("the project did not open");
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToMainWindowWithProject)->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
