#pragma once
// The sound picker "Efectos Sonoros": choose a sound effect and its volume, tempo and balance
// while listening to it.

#include <QDialog>

#include "SoundPickerSupport.h"

class QListWidget;
class QSlider;

class TFormSelSound : public QDialog {
public:
    // Lists and resolves through the editor's material lookup.
    explicit TFormSelSound(QWidget* owner = nullptr);
    explicit TFormSelSound(TSoundMaterialSource& materials, QWidget* owner = nullptr);

    // Edits the caller's setting; true (and the setting updated) on "Aceptar".
    bool Execute(TSoundSetting& setting);

    void SetSetting(const TSoundSetting& setting);
    TSoundSetting Setting() const;

    void ButtonPlayClick();
    void ButtonStopClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSoundMaterialSource& FMaterials;
    QListWidget* FList;
    QSlider* FVolume;
    QSlider* FTempo;
    QSlider* FBalance;
};

