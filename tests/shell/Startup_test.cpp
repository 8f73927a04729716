#include "MainUnit.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TestSandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {
const char* const kScreen = "El programa debe iniciarse a una resolución mínima de 800 x 600 y de color "
                            "de alta densidad (16 bits) como mínimo.";

struct Machine {
    QSize screen{1024, 768};
    int depth = 24;
    bool rtp = true, archiver = true, directX = true;
};

// Probes over a staged machine that note the order in which they are asked.
TStartupProbes probesOf(const Machine& m, QStringList& asked)
{
    TStartupProbes p;
    p.ScreenSize = [&asked, m] { asked << "screen"; return m.screen; };
    p.ColorDepth = [&asked, m] { asked << "depth"; return m.depth; };
    p.RuntimePackageInstalled = [&asked, m] { asked << "rtp"; return m.rtp; };
    p.ArchiverLoaded = [&asked, m] { asked << "archiver"; return m.archiver; };
    p.DirectXPresent = [&asked, m] { asked << "directx"; return m.directX; };
    return p;
}

using StartupTest = SandboxTest;

TEST_F(StartupTest, ChecksRunInOrderAndStopAtTheFirstFailure)
{
    const struct {
        const char* what;
        Machine machine;
        TStartupCheck expected;
        const char* message;
        int probesAsked;
    } cases[] = {
        {"640 x 480, nothing installed", {{640, 480}, 24, false, false, false}, TStartupCheck::Screen, kScreen, 2},
        {"800 x 600 at 8 bits", {{800, 600}, 8, true, true, true}, TStartupCheck::Screen, kScreen, 2},
        {"799 wide", {{799, 600}, 32, true, true, true}, TStartupCheck::Screen, kScreen, 2},
        {"no run-time package", {{800, 600}, 16, false, false, true}, TStartupCheck::RuntimePackage,
         "No está instalado el RTP de Taleforge Studio.", 3},
        {"no archiver", {{1280, 800}, 24, true, false, false}, TStartupCheck::Archiver,
         "No se ha encontrado Unlha32.dll.", 4},
        {"no DirectX", {{1280, 800}, 24, true, true, false}, TStartupCheck::DirectX,
         "Se necesita DirectX 8.0 o superior.", 5},
        {"everything there", {}, TStartupCheck::Passed, "", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedMessageService boxes;
        QStringList asked;
        EXPECT_EQ(RunStartupChecks(probesOf(c.machine, asked)), c.expected);
        EXPECT_EQ(asked, (QStringList{"screen", "depth", "rtp", "archiver", "directx"}.mid(0, c.probesAsked)));
        if (c.expected == TStartupCheck::Passed) {
            EXPECT_TRUE(boxes.fake.shown.isEmpty());
        } else {
            ASSERT_EQ(boxes.fake.shown.size(), 1);
            EXPECT_EQ(boxes.fake.shown[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(boxes.fake.shown[0].buttons, MessageButtons::Ok);
        }
    }
}

TEST_F(StartupTest, ArchiverAndRunTimePackageProbesLookInTheProgramFolder)
{
    // The sandbox's program folder has neither.
    EXPECT_FALSE(RuntimePackageInstalled());
    EXPECT_FALSE(LoadArchiverLibrary());
    QDir().mkpath(Path("program/RTP"));
    EXPECT_FALSE(RuntimePackageInstalled()) << "an empty package folder is no package";
    WriteFile("program/RTP/ChipSet/x.png");
    EXPECT_TRUE(RuntimePackageInstalled());
    // The real library beside the real program loads and exports Unlha.
    const QString real = QStringLiteral(TF_PROGRAM_DIR) + "/UNLHA32.DLL";
    if (!QFile::exists(real))
        GTEST_SKIP() << "UNLHA32.DLL not built";
    ASSERT_TRUE(QFile::copy(real, Path("program/UNLHA32.DLL")));
    EXPECT_TRUE(LoadArchiverLibrary());
}

TEST_F(StartupTest, ASecondEditorRaisesTheFirstAndEnds)
{
    // Both processes must meet in the same temporary folder: the sandbox's.
    SingleInstance::SetFolderForTests(QString());
    SingleInstance first(QStringLiteral("VudMutex"));
    ASSERT_TRUE(first.Acquire());
    int raised = 0;
    QObject::connect(&first, &SingleInstance::ActivationRequested, [&raised] { ++raised; });

    QProcess second;
    second.start(QStringLiteral(TF_PROGRAM_DIR) + "/Taleforge", {});
    ASSERT_TRUE(second.waitForStarted(5000));
    QElapsedTimer clock;
    clock.start();
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 15000)
        QTest::qWait(20);
    if (second.state() != QProcess::NotRunning) {
        second.kill();
        second.waitForFinished();
        FAIL() << "the second editor did not end";
    }
    QTest::qWait(50);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(raised, 1);
    first.Release();
}
} // namespace
