#include "DialogPlacement.h"
#include "HelpService.h"
#include "Hourglass.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "TestSandbox.h"

#include <QApplication>
#include <QCoreApplication>
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
