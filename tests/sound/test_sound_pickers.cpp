// The music and sound pickers against a scripted coordinator and a fixed material list.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "AudioCoordinator.h"
#include "RegistryStore.h"
#include "SelMusic.h"
#include "Settings.h"
#include "SelSound.h"

namespace {

// Records every call as one line of text.
class ScriptedAudio : public TAudioControl {
public:
    QStringList* Calls;
    explicit ScriptedAudio(QStringList* calls) : Calls(calls) {}
    void OpenMidi() override { *Calls << "OpenMidi"; }
    void CloseMidi() override { *Calls << "CloseMidi"; }
    void OpenWaveVoices() override { *Calls << "OpenWaveVoices"; }
    void PlayMusic(const std::string& f) override { *Calls << "PlayMusic " + QString::fromStdString(f); }
    void StopMusic() override { *Calls << "StopMusic"; }
    void FadeInMusic(int ms) override { *Calls << QString("FadeInMusic %1").arg(ms); }
    void FadeOutMusic(int ms) override { *Calls << QString("FadeOutMusic %1").arg(ms); }
    void SetMusicVolume(int v) override { *Calls << QString("SetMusicVolume %1").arg(v); }
    void SetMusicTempo(int t) override { *Calls << QString("SetMusicTempo %1").arg(t); }
    void SetMusicBalance(int b) override { *Calls << QString("SetMusicBalance %1").arg(b); }
    void PlaySoundEffect(const std::string& f, int v, int t, int b) override
    {
        *Calls << QString("PlaySoundEffect %1 %2 %3 %4").arg(QString::fromStdString(f)).arg(v).arg(t).arg(b);
    }
    void StopSoundEffects() override { *Calls << "StopSoundEffects"; }
};

class FixedMaterials : public TSoundMaterialSource {
public:
    QStringList List(const QString& folder, const QStringList&) override
    {
        if (folder == "Music")
            return {"Dungeon", "Battle <RTP>", "Town2 <RTP>"};
        return {"Door", "Sword <RTP>"};
    }
    QString Resolve(const QString& name, const QString& folder, const QStringList& ext) override
    {
        return "/materials/" + folder + "/" + name + "." + ext.first();
    }
};

class SoundPickers : public testing::Test {
protected:
    QStringList Calls;
    FixedMaterials Materials;

    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_sound_pickers";
        static char* argv[] = {name, nullptr};
        // Whatever the pickers' lookup reads stays inside the build tree.
        const QString home = QString::fromUtf8(SOUND_TEST_TMP) + "/home";
        QDir().mkpath(home);
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + "/config").toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        RegistryStore::SetRootForTests(QString::fromUtf8(SOUND_TEST_TMP) + "/registry");
        if (!QApplication::instance())
            new QApplication(argc, argv);
    }
    void SetUp() override
    {
        InstallAudio(std::make_unique<ScriptedAudio>(&Calls));
        NowPlayingMusic() = TMusicSetting{};
    }
    void TearDown() override { CloseAudio(); }

    template <typename T>
    static T* Child(QWidget& form, const char* name)
    {
        T* w = form.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QStringList Items(QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static void Select(QListWidget* list, const QString& text)
    {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        list->setCurrentItem(found.first());
    }
};

} // namespace

TEST_F(SoundPickers, MusicPickerTextsAndList)
{
    TFormSelMusic form(Materials);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Reproducir Música"));
    EXPECT_EQ(Child<QPushButton>(form, "ButtonPlay")->text(), "Reproducir");
    EXPECT_EQ(Child<QPushButton>(form, "ButtonStop")->text(), "Parar");
    EXPECT_EQ(Child<QPushButton>(form, "ButtonOk")->text(), "Aceptar");
    EXPECT_EQ(Child<QPushButton>(form, "ButtonCancel")->text(), "Cancelar");
    EXPECT_EQ(Items(Child<QListWidget>(form, "ListMusic")),
              (QStringList{"(OFF)", "Dungeon", "Battle <RTP>", "Town2 <RTP>"}));
    const std::pair<const char*, QStringList> marks[] = {
        {"SliderFadeIn", {"Nada", "5 seg.", "10 seg."}},
        {"SliderTempo", {"50%", "100%", "150%"}},
        {"SliderBalance", {"Izquierda", "Centro", "Derecha"}},
    };
    for (const auto& [slider, texts] : marks)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Child<QLabel>(form, (QString(slider) + QString("Label%1").arg(i)).toUtf8())->text(), texts[i]);
    QStringList captions;
    for (QLabel* l : form.findChildren<QLabel*>())
        if (l->buddy())
            captions << l->text();
    EXPECT_EQ(captions, (QStringList{"Crecimiento", "Volumen", "Tempo", "Balance"}));
}

TEST_F(SoundPickers, SliderMaps)
{
    struct Case {
        int Position, FadeIn, Volume, Tempo, Balance;
    };
    const Case cases[] = {{0, 0, 0, 50, 0}, {5, 5000, 50, 100, 50}, {10, 10000, 100, 150, 100}, {3, 3000, 30, 80, 30}};
    TFormSelMusic form(Materials);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Position);
        for (const char* s : {"SliderFadeIn", "SliderVolume", "SliderTempo", "SliderBalance"})
            Child<QSlider>(form, s)->setValue(c.Position);
        const TMusicSetting m = form.Setting();
        EXPECT_EQ(m.FadeIn, c.FadeIn);
        EXPECT_EQ(m.Volume, c.Volume);
        EXPECT_EQ(m.Tempo, c.Tempo);
        EXPECT_EQ(m.Balance, c.Balance);
        // And back: a setting puts every slider where its value belongs.
        form.SetSetting(TMusicSetting{"Dungeon", c.FadeIn, c.Volume, c.Tempo, c.Balance});
        EXPECT_EQ(form.Setting(), (TMusicSetting{"Dungeon", c.FadeIn, c.Volume, c.Tempo, c.Balance}));
    }
    // Values between the marks go to the nearest position; out of range to the ends.
    form.SetSetting(TMusicSetting{"Nope", 2600, 74, 300, -5});
    EXPECT_EQ(form.Setting(), (TMusicSetting{"(OFF)", 3000, 70, 150, 0}));
}

TEST_F(SoundPickers, PlayStopAndShiftStop)
{
    TFormSelMusic form(Materials);
    form.SetSetting(TMusicSetting{"Battle", 5000, 70, 120, 30});
    EXPECT_EQ(Child<QListWidget>(form, "ListMusic")->currentItem()->text(), "Battle <RTP>");
    QTest::mouseClick(Child<QPushButton>(form, "ButtonPlay"), Qt::LeftButton);
    EXPECT_EQ(Calls, (QStringList{"OpenMidi", "OpenWaveVoices", "PlayMusic /materials/Music/Battle.mid",
                                  "FadeInMusic 5000", "SetMusicVolume 70", "SetMusicTempo 120",
                                  "SetMusicBalance 30"}));
    EXPECT_EQ(NowPlayingMusic(), (TMusicSetting{"Battle", 5000, 70, 120, 30}));

    // Shift+Parar fades out over five seconds and keeps the music as the one playing.
    Calls.clear();
    QTest::mouseClick(Child<QPushButton>(form, "ButtonStop"), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Calls, (QStringList{"FadeOutMusic 5000"}));
    EXPECT_EQ(NowPlayingMusic().Name, "Battle");

    Calls.clear();
    QTest::mouseClick(Child<QPushButton>(form, "ButtonStop"), Qt::LeftButton);
    EXPECT_EQ(Calls, (QStringList{"StopMusic", "CloseMidi"}));
    EXPECT_EQ(NowPlayingMusic(), (TMusicSetting{"(OFF)", 0, 100, 100, 50}));

    // "(OFF)" plays as "Parar"; so does a list with nothing selected.
    Calls.clear();
    Select(Child<QListWidget>(form, "ListMusic"), "(OFF)");
    QTest::mouseClick(Child<QPushButton>(form, "ButtonPlay"), Qt::LeftButton);
    EXPECT_EQ(Calls, (QStringList{"StopMusic", "CloseMidi"}));
}

TEST_F(SoundPickers, EnterAndDoubleClickPlay)
{
    TFormSelMusic form(Materials);
    auto* list = Child<QListWidget>(form, "ListMusic");
    Select(list, "Dungeon");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(Calls.contains("PlayMusic /materials/Music/Dungeon.mid"));
    EXPECT_EQ(form.result(), 0) << "Enter on the list must not close the picker";
    Calls.clear();
    Select(list, "Town2 <RTP>");
    emit list->itemDoubleClicked(list->currentItem());
    EXPECT_TRUE(Calls.contains("PlayMusic /materials/Music/Town2.mid"));
}

TEST_F(SoundPickers, SliderChangesReachOnlyThePickersOwnMusic)
{
    TFormSelMusic form(Materials);
    form.SetSetting(TMusicSetting{"Dungeon", 0, 100, 100, 50});
    form.ButtonPlayClick();
    Calls.clear();
    Child<QSlider>(form, "SliderVolume")->setValue(4);
    Child<QSlider>(form, "SliderFadeIn")->setValue(8);
    EXPECT_EQ(Calls, (QStringList{"SetMusicVolume 40", "SetMusicTempo 100", "SetMusicBalance 50"}));
    EXPECT_EQ(NowPlayingMusic().Volume, 40);
    EXPECT_EQ(NowPlayingMusic().FadeIn, 0);

    // Another piece selected: nothing is sent, but the values are still kept as now playing.
    Calls.clear();
    Select(Child<QListWidget>(form, "ListMusic"), "Battle <RTP>");
    Child<QSlider>(form, "SliderTempo")->setValue(10);
    EXPECT_TRUE(Calls.isEmpty()) << Calls.join(", ").toStdString();
    EXPECT_EQ(NowPlayingMusic().Name, "Dungeon");
    EXPECT_EQ(NowPlayingMusic().Tempo, 150);
}

TEST_F(SoundPickers, ExecuteReadsBackOnlyOnAceptar)
{
    TMusicSetting setting{"Dungeon", 1000, 100, 100, 50};
    {
        TFormSelMusic form(Materials);
        QTimer::singleShot(0, &form, [&] {
            Child<QSlider>(form, "SliderVolume")->setValue(2);
            Child<QPushButton>(form, "ButtonCancel")->click();
        });
        EXPECT_FALSE(form.Execute(setting));
        EXPECT_EQ(setting, (TMusicSetting{"Dungeon", 1000, 100, 100, 50}));
    }
    TFormSelMusic form(Materials);
    QTimer::singleShot(0, &form, [&] {
        Select(Child<QListWidget>(form, "ListMusic"), "Battle <RTP>");
        Child<QSlider>(form, "SliderVolume")->setValue(2);
        Child<QPushButton>(form, "ButtonOk")->click();
    });
    EXPECT_TRUE(form.Execute(setting));
    EXPECT_EQ(setting, (TMusicSetting{"Battle", 1000, 20, 100, 50}));
}

TEST_F(SoundPickers, ListenOnlyModeStartsFromTheMusicPlaying)
{
    NowPlayingMusic() = TMusicSetting{"Town2", 3000, 60, 90, 70};
    TFormSelMusic form(Materials);
    bool checked = false;
    QTimer::singleShot(0, &form, [&] {
        EXPECT_FALSE(Child<QPushButton>(form, "ButtonOk")->isVisible());
        auto* close = Child<QPushButton>(form, "ButtonCancel");
        EXPECT_EQ(close->text(), "Cerrar");
        EXPECT_EQ(form.Setting(), (TMusicSetting{"Town2", 3000, 60, 90, 70}));
        checked = true;
        close->click();
    });
    form.ExecuteListenOnly();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Calls.isEmpty()) << "opening the picker plays nothing";
}

TEST_F(SoundPickers, SoundPicker)
{
    TFormSelSound form(Materials);
    EXPECT_EQ(form.windowTitle(), "Efectos Sonoros");
    auto* list = Child<QListWidget>(form, "ListSound");
    EXPECT_EQ(Items(list), (QStringList{"(OFF)", "Door", "Sword <RTP>"}));
    EXPECT_EQ(form.findChild<QSlider*>("SliderFadeIn"), nullptr);
    form.SetSetting(TSoundSetting{"Sword", 80, 140, 20});
    QTest::mouseClick(Child<QPushButton>(form, "ButtonPlay"), Qt::LeftButton);
    EXPECT_EQ(Calls, (QStringList{"OpenWaveVoices", "PlaySoundEffect /materials/Sound/Sword.wav 80 140 20"}));

    Calls.clear();
    QTest::mouseClick(Child<QPushButton>(form, "ButtonStop"), Qt::LeftButton, Qt::ShiftModifier);
    Select(list, "(OFF)");
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(Calls, (QStringList{"StopSoundEffects", "StopSoundEffects"}));

    TSoundSetting setting{"Door", 100, 100, 50};
    QTimer::singleShot(0, &form, [&] {
        Child<QSlider>(form, "SliderBalance")->setValue(0);
        Child<QPushButton>(form, "ButtonOk")->click();
    });
    EXPECT_TRUE(form.Execute(setting));
    EXPECT_EQ(setting, (TSoundSetting{"Door", 100, 100, 0}));
}

TEST_F(SoundPickers, NothingHappensWithoutACoordinator)
{
    CloseAudio();
    TFormSelMusic music(Materials);
    music.SetSetting(TMusicSetting{"Dungeon", 0, 100, 100, 50});
    music.ButtonPlayClick();
    music.ButtonStopClick(true);
    TFormSelSound sound(Materials);
    sound.SetSetting(TSoundSetting{"Door", 100, 100, 50});
    sound.ButtonPlayClick();
    EXPECT_TRUE(Calls.isEmpty());
}

TEST_F(SoundPickers, EditorLookupListsAndResolvesThePickersFiles)
{
    const QString root = QString::fromUtf8(SOUND_TEST_TMP) + "/lookup";
    QDir(root).removeRecursively();
    auto touch = [&](const QString& relative) {
        QDir().mkpath(QFileInfo(root + "/" + relative).path());
        QFile f(root + "/" + relative);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    touch("project/Music/Field.mid");
    touch("project/Music/field.mp3");
    touch("project/Music/readme.txt");
    touch("rtp/Music/Battle.mid");
    touch("rtp/Music/FIELD.wav");
    touch("rtp/Sound/Door.wav");
    WriteRuntimePackagePathValue(root + "/rtp");
    SetCurrentProjectFolder(root + "/project");

    TFormSelMusic music;
    EXPECT_EQ(Items(Child<QListWidget>(music, "ListMusic")), (QStringList{"(OFF)", "Field", "Battle <RTP>"}));
    Select(Child<QListWidget>(music, "ListMusic"), "Battle <RTP>");
    music.ButtonPlayClick();
    EXPECT_TRUE(Calls.contains("PlayMusic " + root + "/rtp/Music/Battle.mid")) << Calls.join(", ").toStdString();
    Calls.clear();
    Select(Child<QListWidget>(music, "ListMusic"), "Field");
    music.ButtonPlayClick();
    EXPECT_TRUE(Calls.contains("PlayMusic " + root + "/project/Music/Field.mid")) << Calls.join(", ").toStdString();

    TFormSelSound sound;
    EXPECT_EQ(Items(Child<QListWidget>(sound, "ListSound")), (QStringList{"(OFF)", "Door <RTP>"}));
    SetCurrentProjectFolder(QString());
    WriteRuntimePackagePathValue(QString());
}
