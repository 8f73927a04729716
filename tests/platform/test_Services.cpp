#include "DialogPlacement.h"
#include "HelpService.h"
#include "Hourglass.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "TestSandbox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <stdexcept>

namespace {
using ServicesTest = SandboxTest;

TEST(DialogPlacement, CentredOrOffsetThenKeptOnScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const QRect owner(100, 50, 800, 600);
    const QPoint client(104, 80);
    const struct {
        std::optional<QPoint> offset;
        QSize dialog;
        QPoint expected;
    } cases[] = {
        {std::nullopt, QSize(400, 300), QPoint(300, 200)},
        {QPoint(16, 24), QSize(400, 300), QPoint(120, 104)},
        {QPoint(1000, 700), QSize(400, 300), QPoint(880, 500)}, // pulled back to the right/bottom
        {QPoint(-500, -500), QSize(400, 300), QPoint(0, 0)},    // never above or left of the screen
        {std::nullopt, QSize(2000, 1000), QPoint(0, 0)},        // larger than the screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialogPosition(owner, client, c.dialog, screen, c.offset), c.expected);
    EXPECT_EQ(DialogPosition(owner, client, QSize(400, 300), QRect(1280, 0, 1024, 768), std::nullopt),
              QPoint(1280, 200)) << "second screen";
}

TEST_F(ServicesTest, ScriptedMessagesRecordAndAnswer)
{
    ScopedMessageService scoped;
    scoped.fake.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    EXPECT_TRUE(Messages().Question("¿Seguro?"));
    EXPECT_EQ(Messages().YesNoCancel("¿Guardar?"), MessageAnswer::Cancel);
    EXPECT_FALSE(Messages().WarningYesNo("¿Eliminar?")) << "empty queue answers No";
    Messages().Error("Mal");
    ASSERT_EQ(scoped.fake.shown.size(), 4);
    EXPECT_EQ(scoped.fake.shown[2].icon, MessageIcon::Warning);
    EXPECT_EQ(scoped.fake.shown[3].icon, MessageIcon::Error);
    EXPECT_EQ(scoped.fake.shown[3].text, "Mal");
    EXPECT_EQ(ApplicationTitle(), "Taleforge StudioV");
}

TEST_F(ServicesTest, HourglassIsRestoredWhenAnErrorEscapes)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        HourglassGuard outer;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            HourglassGuard inner;
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr) << "nested guard keeps the outer one";
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ServicesTest, HelpPagesByContextNumber)
{
    WriteFile("program/Taleforge-help/index.html");
    WriteFile("program/Taleforge-help/171.html");
    EXPECT_EQ(HelpUrl(171).toLocalFile(), ProgramFolder() + "Taleforge-help/171.html");
    EXPECT_EQ(HelpUrl(190).fragment(), "ctx190");
    EXPECT_EQ(HelpUrl(kHelpContents).fragment(), "");
    QUrl opened;
    SetHelpOpenerForTests([&](const QUrl& u) { opened = u; });
    ShowHelp(171);
    EXPECT_EQ(opened, HelpUrl(171));
}

TEST_F(ServicesTest, SecondInstanceWakesTheFirst)
{
    SingleInstance first("VudMutex");
    SingleInstance second("VudMutex");
    ASSERT_TRUE(first.Acquire());
    int activations = 0;
    QObject::connect(&first, &SingleInstance::ActivationRequested, [&] { ++activations; });
    EXPECT_FALSE(second.Acquire()) << "the lock is held";
    EXPECT_TRUE(second.NotifyRunning());
    QElapsedTimer t;
    t.start();
    while (activations == 0 && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(activations, 1);
    first.Release();
    EXPECT_TRUE(second.Acquire()) << "free again once the first has gone";
}
} // namespace

#include "GameRunTime.h"

#include <QFile>
#include <QSignalSpy>

namespace {
TEST(GameRunTime, CommandLines)
{
    EXPECT_EQ(TestPlayArguments(true, false), QStringList({"TestPlay", "ShowTitle", "Window"}));
    EXPECT_EQ(TestPlayArguments(false, true), QStringList({"TestPlay", "HideTitle", "FullScreen"}));
    EXPECT_EQ(BattleTestArguments(false, 12), QStringList({"BattleTest", "HideTitle", "Window", "12"}));
    EXPECT_EQ(RunTimeProgram("/p/Juego"), "/p/Juego/TFPLAY.exe");
}

TEST_F(ServicesTest, RunTimeStartsInTheProjectFolderAndIsWaitedFor)
{
    WriteFile("Juego/TFPLAY.exe", "#!/bin/sh\npwd > started.txt\necho \"$@\" >> started.txt\n");
    QFile::setPermissions(Path("Juego/TFPLAY.exe"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TRunTimeProcess game;
    QSignalSpy finished(&game, &TRunTimeProcess::Finished);
    ASSERT_TRUE(game.Start(Path("Juego"), TestPlayArguments(false, true)));
    ASSERT_TRUE(finished.wait(5000));
    QFile out(Path("Juego/started.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = out.readAll().split('\n');
    EXPECT_EQ(QDir(QString::fromLocal8Bit(lines[0])).canonicalPath(), QDir(Path("Juego")).canonicalPath());
    EXPECT_EQ(lines[1], "TestPlay HideTitle FullScreen");
    TRunTimeProcess missing;
    EXPECT_FALSE(missing.Start(Path("NoGame"), TestPlayArguments(false, false)));
}
} // namespace

#include <QProcess>
#include <QSysInfo>

namespace {
TEST_F(ServicesTest, LockOfAnEditorThatDiedIsTakenOver)
{
    // A lock left behind by a process that no longer runs.
    QProcess gone;
    gone.start("/bin/sh", {"-c", "exit 0"});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    SingleInstance probe("VudMutex");
    ASSERT_TRUE(probe.Acquire());
    const QStringList locks = QDir(Path("scratch")).entryList({"VudMutex-*.lock"});
    probe.Release();
    ASSERT_EQ(locks.size(), 1);
    WriteFile("scratch/" + locks[0], QByteArray::number(pid) + "\nTaleforge\n" +
                                         QSysInfo::machineHostName().toUtf8() + "\n");
    SingleInstance next("VudMutex");
    EXPECT_TRUE(next.Acquire());
}
} // namespace
