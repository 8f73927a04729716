#include "TestPlayFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <memory>

void CountingSound::Release()
{
    ++Released;
    if (OnRelease)
        OnRelease();
}

void CountingSound::Recreate()
{
    ++Recreated;
    if (OnRecreate)
        OnRecreate();
}

void TestPlayTest::SetUp()
{
    SandboxTest::SetUp();
    project = Path("Mis Juegos/Mi Proyecto 1/");
    ASSERT_TRUE(QDir().mkpath(project));
    recordPath = Path("game-record.txt");
    releasePath = Path("game-release");
    qputenv("TF_FAKE_GAME_RECORD", recordPath.toLocal8Bit());
    qunsetenv("TF_FAKE_GAME_RELEASE");
    qunsetenv("TF_FAKE_GAME_MS");
}

void TestPlayTest::TearDown()
{
    qunsetenv("TF_FAKE_GAME_RECORD");
    qunsetenv("TF_FAKE_GAME_RELEASE");
    SandboxTest::TearDown();
}

void TestPlayTest::InstallFakeGame()
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TF_FAKE_GAME), project + "TFPLAY.exe"));
    ASSERT_TRUE(QFileInfo(project + "TFPLAY.exe").isExecutable());
}

TFakeGameRecord TestPlayTest::Record() const
{
    TFakeGameRecord record;
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return record;
    record.Ran = true;
    for (const QString& line : QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("cwd="))
            record.WorkingFolder = line.mid(4);
        else if (line.startsWith("arg"))
            record.Arguments << line.section('=', 1);
    }
    return record;
}

void TestPlayTest::HoldGame()
{
    qputenv("TF_FAKE_GAME_RELEASE", releasePath.toLocal8Bit());
}

void TestPlayTest::ReleaseGame()
{
    QFile file(releasePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

void WhenModalShows(std::function<void(QWidget*)> step)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, step, ticks] {
        QWidget* modal = QApplication::activeModalWidget();
        // Ten seconds without a box: give up rather than act on some later test's box.
        if (++*ticks > 1000) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step(modal);
    });
    timer->start();
}
