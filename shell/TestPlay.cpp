#include "TestPlay.h"

#include "AudioCoordinator.h"
#include "GameRunTime.h"
#include "MessageService.h"
#include "ProcessWait.h"
#include "SoundPickerSupport.h"

namespace {
class TSystemPreviewSound : public TPreviewSound {
public:
    void Release() override
    {
        NowPlayingMusic() = TMusicSetting{};
        CloseAudio();
    }
    // Back with the wave output open, as the battle test leaves it too.
    void Recreate() override
    {
        OpenAudio();
        OpenWaveVoices();
    }
};
} // namespace

TPreviewSound& SystemPreviewSound()
{
    static TSystemPreviewSound sound;
    return sound;
}

bool RunGameAndWait(QWidget* owner, const QString& projectFolder, const QStringList& arguments,
                    const QString& caption)
{
    TRunTimeProcess game;
    if (!game.Start(projectFolder, arguments))
        return false;
    TFormProcessWait wait(owner);
    wait.setWindowTitle(caption);
    wait.SetProcess(game);
    wait.exec();
    return true;
}

TTestPlayResult StartTestPlay(const TTestPlayHost& host)
{
    if (host.MapsChanged && host.MapsChanged()) {
        if (!Messages().WarningYesNo(QString::fromUtf8(kTestPlaySaveQuestion)))
            return TTestPlayResult::Declined;
        host.SaveAllMaps();
        if (host.MapsChanged())
            return TTestPlayResult::NotSaved;
    }
    if (host.UpdateActions)
        host.UpdateActions();

    TPreviewSoundPause pause(host.Sound ? *host.Sound : SystemPreviewSound());
    if (!RunGameAndWait(host.Owner, host.ProjectFolder, TestPlayArguments(host.ShowTitle, host.FullScreen),
                        QStringLiteral("Prueba del juego"))) {
        Messages().Error(QString::fromUtf8(kTestPlayStartError));
        return TTestPlayResult::StartFailed;
    }
    return TTestPlayResult::Played;
}
