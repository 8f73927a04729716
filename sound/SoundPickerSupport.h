#pragma once
// What the music and sound pickers share: the settings they edit, the slider maps, the
// material source they list and resolve from, and the rows of sliders.

#include <QString>
#include <QStringList>

class QDialog;
class QGridLayout;
class QListWidget;
class QPushButton;
class QSlider;

inline const QString kNoSound = QStringLiteral("(OFF)");

// A music setting as the caller hands it over and reads it back.
struct TMusicSetting {
    QString Name = kNoSound;
    int FadeIn = 0; // milliseconds
    int Volume = 100;
    int Tempo = 100;
    int Balance = 50;
    bool operator==(const TMusicSetting&) const = default;
};

struct TSoundSetting {
    QString Name = kNoSound;
    int Volume = 100;
    int Tempo = 100;
    int Balance = 50;
    bool operator==(const TSoundSetting&) const = default;
};

// The music now playing, process-wide; the music picker keeps it.
TMusicSetting& NowPlayingMusic();

// Slider positions 0..10 and the values they stand for.
namespace SoundSliders {
int FadeInOf(int position);  // position × 1000 ms
int VolumeOf(int position);  // position × 10 %
int TempoOf(int position);   // position × 10 + 50 %
int BalanceOf(int position); // position × 10
int PositionOfFadeIn(int ms);
int PositionOfVolume(int volume);
int PositionOfTempo(int tempo);
int PositionOfBalance(int balance);
} // namespace SoundSliders

// Listing and resolving material files of one folder (project first, then the run-time
// package, names of the package marked " <RTP>").
class TSoundMaterialSource {
public:
    virtual ~TSoundMaterialSource() = default;
    virtual QStringList List(const QString& folder, const QStringList& extensions) = 0;
    // Full path of the file, or the name itself when none exists.
    virtual QString Resolve(const QString& name, const QString& folder, const QStringList& extensions) = 0;
};

// The editor's own lookup: the project's folder, then the run-time package's.
TSoundMaterialSource& PlatformSoundMaterials();

// Names compare without the package mark and without regard to letter case.
bool SameMaterialName(const QString& a, const QString& b);

// Adds a captioned 0..10 slider with up to three labels under it (left, middle, right).
QSlider* AddSoundSlider(QGridLayout* grid, int row, const QString& caption, const QString& objectName,
                        const QStringList& labels);

// The frame both pickers share: the material list on the left, play and stop above the sliders
// on the right, "Aceptar" and "Cancelar" below (wired to accept and reject).
struct TSoundPickerParts {
    QListWidget* List;
    QPushButton* Play;
    QPushButton* Stop;
    QPushButton* Ok;
    QPushButton* Cancel;
};
TSoundPickerParts BuildSoundPicker(QDialog* dialog, const QStringList& names, const QString& listName,
                                   int minListHeight, QGridLayout* sliders);

// Selects the row naming `name` (see SameMaterialName), or nothing.
void SelectMaterialRow(QListWidget* list, const QString& name);
