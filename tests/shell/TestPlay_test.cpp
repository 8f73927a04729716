// Test play through StartTestPlay with the stand-in game: the command line, the working folder,
// the save question, the failure message, and the sound objects freed and made again.
#include "AudioCoordinator.h"
#include "MessageService.h"
#include "ProcessWait.h"
#include "SoundPickerSupport.h"
#include "TestPlayFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <stdexcept>

namespace {
// The main window's side of test play, scripted.
struct FakeEditor {
    bool changed = false;
    bool saveClears = true;
    int saves = 0;
    int refreshes = 0;
};

TTestPlayHost hostFor(const QString& project, FakeEditor& editor, CountingSound& sound)
{
    TTestPlayHost host;
    host.ProjectFolder = project;
    host.MapsChanged = [&editor] { return editor.changed; };
    host.SaveAllMaps = [&editor] {
        ++editor.saves;
        if (editor.saveClears)
            editor.changed = false;
    };
    host.UpdateActions = [&editor] { ++editor.refreshes; };
    host.Sound = &sound;
    return host;
}

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }
} // namespace

TEST_F(TestPlayTest, CommandLineForEachFlagCombination)
{
    InstallFakeGame();
    const struct {
        bool showTitle, fullScreen;
        QStringList words;
    } cases[] = {
        {false, false, {"TestPlay", "HideTitle", "Window"}},
        {true, false, {"TestPlay", "ShowTitle", "Window"}},
        {false, true, {"TestPlay", "HideTitle", "FullScreen"}},
        {true, true, {"TestPlay", "ShowTitle", "FullScreen"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        QFile::remove(recordPath);
        ScopedMessageService boxes;
        FakeEditor editor;
        CountingSound sound;
        TTestPlayHost host = hostFor(project, editor, sound);
        host.ShowTitle = c.showTitle;
        host.FullScreen = c.fullScreen;

        EXPECT_EQ(StartTestPlay(host), TTestPlayResult::Played);
        const TFakeGameRecord record = Record();
        ASSERT_TRUE(record.Ran);
        // The folder has spaces in its name and is still one argument, the program itself.
        ASSERT_EQ(record.Arguments.size(), 4);
        EXPECT_EQ(record.Arguments[0], project + "TFPLAY.exe");
        EXPECT_EQ(record.Arguments.mid(1), c.words);
        EXPECT_EQ(canonical(record.WorkingFolder), canonical(project));
        EXPECT_TRUE(boxes.fake.shown.isEmpty()) << "no question without changed maps";
        EXPECT_EQ(editor.saves, 0);
        EXPECT_EQ(editor.refreshes, 1);
        EXPECT_EQ(sound.Released, 1);
        EXPECT_EQ(sound.Recreated, 1);
    }
}

TEST_F(TestPlayTest, SoundIsFreedBeforeTheGameStartsAndMadeAgainAfterItEnds)
{
    InstallFakeGame();
    ScopedMessageService boxes;
    FakeEditor editor;
    CountingSound sound;
    bool gameRanBeforeRelease = true, gameRanBeforeRecreate = false;
    sound.OnRelease = [&] { gameRanBeforeRelease = Record().Ran; };
    sound.OnRecreate = [&] { gameRanBeforeRecreate = Record().Ran; };

    EXPECT_EQ(StartTestPlay(hostFor(project, editor, sound)), TTestPlayResult::Played);
    EXPECT_FALSE(gameRanBeforeRelease);
    EXPECT_TRUE(gameRanBeforeRecreate);
}

TEST_F(TestPlayTest, SaveQuestionOnlyWhenMapsChanged)
{
    InstallFakeGame();
    const struct {
        const char* name;
        bool changed;
        QList<MessageAnswer> answers;
        bool saveClears;
        TTestPlayResult result;
        int saves;
    } cases[] = {
        {"unchanged", false, {}, true, TTestPlayResult::Played, 0},
        {"declined", true, {MessageAnswer::No}, true, TTestPlayResult::Declined, 0},
        {"saved", true, {MessageAnswer::Yes}, true, TTestPlayResult::Played, 1},
        {"still changed after saving", true, {MessageAnswer::Yes}, false, TTestPlayResult::NotSaved, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(recordPath);
        ScopedMessageService boxes;
        boxes.fake.answers = c.answers;
        FakeEditor editor;
        editor.changed = c.changed;
        editor.saveClears = c.saveClears;
        CountingSound sound;

        EXPECT_EQ(StartTestPlay(hostFor(project, editor, sound)), c.result);
        EXPECT_EQ(editor.saves, c.saves);
        if (c.changed) {
            ASSERT_EQ(boxes.fake.shown.size(), 1);
            EXPECT_EQ(boxes.fake.shown[0].text,
                      QStringLiteral("Se guardarán todos los cambios efectuados en los mapas. ¿Continuar?"));
            EXPECT_EQ(boxes.fake.shown[0].icon, MessageIcon::Warning);
            EXPECT_EQ(boxes.fake.shown[0].buttons, MessageButtons::YesNo);
        } else {
            EXPECT_TRUE(boxes.fake.shown.isEmpty());
        }
        const bool played = c.result == TTestPlayResult::Played;
        EXPECT_EQ(Record().Ran, played);
        // Stopping before the start leaves the sound alone.
        EXPECT_EQ(sound.Released, played ? 1 : 0);
        EXPECT_EQ(sound.Recreated, sound.Released);
        EXPECT_EQ(editor.refreshes, played ? 1 : 0);
    }
}

TEST_F(TestPlayTest, GameThatCannotStartIsReportedAndSoundComesBack)
{
    const QString game = project + "TFPLAY.exe";
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"missing", [] {}},
        {"not executable",
         [&] {
             ASSERT_TRUE(QFile::copy(QStringLiteral(TF_FAKE_GAME), game));
             QFile::setPermissions(game, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
         }},
        {"a folder", [&] { ASSERT_TRUE(QDir().mkpath(game)); }},
        {"not a program", [&] {
             QFile file(game);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("\x01\x02garbage");
             file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(game);
        QDir(game).removeRecursively();
        c.make();
        ScopedMessageService boxes;
        FakeEditor editor;
        CountingSound sound;

        EXPECT_EQ(StartTestPlay(hostFor(project, editor, sound)), TTestPlayResult::StartFailed);
        ASSERT_EQ(boxes.fake.shown.size(), 1);
        EXPECT_EQ(boxes.fake.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(boxes.fake.shown[0].text,
                  QStringLiteral("No se pudo iniciar el proceso. No se puede ejecutar la prueba del juego."));
        EXPECT_EQ(sound.Released, 1);
        EXPECT_EQ(sound.Recreated, 1);
    }
}

TEST_F(TestPlayTest, WaitBoxHoldsTheEditorUntilTheGameEnds)
{
    InstallFakeGame();
    HoldGame();
    ScopedMessageService boxes;
    FakeEditor editor;
    CountingSound sound;
    QWidget owner;
    owner.setGeometry(100, 80, 500, 400);
    owner.show();
    TTestPlayHost host = hostFor(project, editor, sound);
    host.Owner = &owner;

    QString caption;
    QPoint offCentre;
    bool stayedOpen = false;
    WhenModalShows([&](QWidget* box) {
        caption = box->windowTitle();
        offCentre = box->geometry().center() - owner.geometry().center();
        box->close();
        QTest::keyClick(box, Qt::Key_Escape);
        QTest::keyClick(box, Qt::Key_F4, Qt::AltModifier);
        // Several polls later, with the game still running, the box is still there.
        QTest::qWait(200);
        stayedOpen = box->isVisible() && QApplication::activeModalWidget() == box;
        ReleaseGame();
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(StartTestPlay(host), TTestPlayResult::Played);
    EXPECT_EQ(caption, QStringLiteral("Prueba del juego"));
    EXPECT_LE(offCentre.manhattanLength(), 2) << "centred on the editor";
    EXPECT_TRUE(stayedOpen);
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(sound.Recreated, 1);
}

TEST_F(TestPlayTest, SystemSoundForgetsTheMusicAndFreesThePlayers)
{
    // SDL's file output stands in for the sound card, so the wave output really opens.
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", Path("audio.raw").toLocal8Bit());
    ASSERT_TRUE(OpenAudio());
    ASSERT_TRUE(OpenWaveVoices());
    NowPlayingMusic() = TMusicSetting{QStringLiteral("Batalla"), 1000, 80, 120, 30};

    SystemPreviewSound().Release();
    EXPECT_EQ(Audio(), nullptr);
    EXPECT_EQ(NowPlayingMusic(), TMusicSetting{});
    EXPECT_EQ(NowPlayingMusic().Name, QStringLiteral("(OFF)"));

    SystemPreviewSound().Recreate();
    auto* coordinator = dynamic_cast<TAudioCoordinator*>(Audio());
    ASSERT_NE(coordinator, nullptr);
    EXPECT_NE(coordinator->WavePlayer(), nullptr) << "the wave output is open again";
    CloseAudio();
    qputenv("SDL_AUDIODRIVER", driver);
}
