#pragma once
// The music picker "Reproducir Música": choose a music file and its fade-in, volume, tempo
// and balance while listening to it.

#include <QDialog>

#include "SoundPickerSupport.h"

class QListWidget;
class QPushButton;
class QSlider;

class TFormSelMusic : public QDialog {
public:
    // Lists and resolves through the editor's material lookup.
    explicit TFormSelMusic(QWidget* owner = nullptr);
    explicit TFormSelMusic(TSoundMaterialSource& materials, QWidget* owner = nullptr);

    // Edits the caller's setting; true (and the setting updated) on "Aceptar".
    bool Execute(TMusicSetting& setting);
    // Listen-only mode: starts from the music now playing, "Aceptar" hidden, "Cancelar" reads
    // "Cerrar".
    void ExecuteListenOnly();

    void SetSetting(const TMusicSetting& setting);
    TMusicSetting Setting() const;
    void SetListenOnly(bool listenOnly);

    void ButtonPlayClick();
    void ButtonStopClick(bool shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString SelectedName() const;
    void SliderChange();

    TSoundMaterialSource& FMaterials;
    QListWidget* FList;
    QPushButton* FButtonOk;
    QPushButton* FButtonCancel;
    QSlider* FFadeIn;
    QSlider* FVolume;
    QSlider* FTempo;
    QSlider* FBalance;
    bool FFilling = false;
};

