// Test play: runs the open project in its own copy of the game run time and keeps the editor
// waiting until the game ends. The battle test runs the game the same way (RunGameAndWait).
#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

inline const char kTestPlaySaveQuestion[] =
    "Se guardarán todos los cambios efectuados en los mapas. ¿Continuar?";
inline const char kTestPlayStartError[] = "No se pudo iniciar el proceso. No se puede ejecutar la prueba del juego.";

// The editor's sound preview objects. They hold the sound devices, so they are freed while the
// game runs and made again afterwards.
class TPreviewSound {
public:
    virtual ~TPreviewSound() = default;
    // Forgets the music now playing ("(OFF)") and frees the players.
    virtual void Release() = 0;
    // Makes them again, with the wave output open.
    virtual void Recreate() = 0;
};
// The real one, over the process-wide audio coordinator.
TPreviewSound& SystemPreviewSound();

// Frees the sound preview objects for the lifetime of the guard; recreates them however the
// scope is left.
class TPreviewSoundPause {
public:
    explicit TPreviewSoundPause(TPreviewSound& sound) : FSound(sound) { FSound.Release(); }
    ~TPreviewSoundPause() { FSound.Recreate(); }
    TPreviewSoundPause(const TPreviewSoundPause&) = delete;
    TPreviewSoundPause& operator=(const TPreviewSoundPause&) = delete;

private:
    TPreviewSound& FSound;
};

// Starts the project's TFPLAY.exe with `arguments` in the project folder and shows the wait box
// with `caption`, centred on `owner`, until the game ends. False: the process could not start.
bool RunGameAndWait(QWidget* owner, const QString& projectFolder, const QStringList& arguments,
                    const QString& caption);

// What test play needs from the main window.
struct TTestPlayHost {
    QWidget* Owner = nullptr;
    QString ProjectFolder;
    bool ShowTitle = false;
    bool FullScreen = false;
    std::function<bool()> MapsChanged;
    std::function<void()> SaveAllMaps;
    std::function<void()> UpdateActions;
    // None: SystemPreviewSound().
    TPreviewSound* Sound = nullptr;
};

enum class TTestPlayResult { Declined, NotSaved, StartFailed, Played };

// The "Prueba" command (F9).
TTestPlayResult StartTestPlay(const TTestPlayHost& host);
