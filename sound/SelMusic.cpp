#include "SelMusic.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "AudioCoordinator.h"
#include "Hourglass.h"
#include "Materials.h"

namespace {
const QString kFolder = QStringLiteral("Music");
} // namespace

TFormSelMusic::TFormSelMusic(QWidget* owner) : TFormSelMusic(PlatformSoundMaterials(), owner) {}

TFormSelMusic::TFormSelMusic(TSoundMaterialSource& materials, QWidget* owner)
    : QDialog(owner), FMaterials(materials)
{
    setObjectName("FormSelMusic");
    setWindowTitle(QStringLiteral("Reproducir Música"));

    auto* grid = new QGridLayout;
    FFadeIn = AddSoundSlider(grid, 0, QStringLiteral("Crecimiento"), "SliderFadeIn",
                             {QStringLiteral("Nada"), QStringLiteral("5 seg."), QStringLiteral("10 seg.")});
    FVolume = AddSoundSlider(grid, 1, QStringLiteral("Volumen"), "SliderVolume", {});
    FTempo = AddSoundSlider(grid, 2, QStringLiteral("Tempo"), "SliderTempo",
                            {QStringLiteral("50%"), QStringLiteral("100%"), QStringLiteral("150%")});
    FBalance = AddSoundSlider(grid, 3, QStringLiteral("Balance"), "SliderBalance",
                              {QStringLiteral("Izquierda"), QStringLiteral("Centro"), QStringLiteral("Derecha")});
    const TSoundPickerParts parts =
        BuildSoundPicker(this, FMaterials.List(kFolder, MaterialExtensions(kFolder)), "ListMusic", 260, grid);
    FList = parts.List;
    FButtonOk = parts.Ok;
    FButtonCancel = parts.Cancel;

    connect(parts.Play, &QPushButton::clicked, this, [this] { ButtonPlayClick(); });
    connect(parts.Stop, &QPushButton::clicked, this,
            [this] { ButtonStopClick(QApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(FList, &QListWidget::itemDoubleClicked, this, [this] { ButtonPlayClick(); });
    for (QSlider* s : {FVolume, FTempo, FBalance})
        connect(s, &QSlider::valueChanged, this, [this] { SliderChange(); });

    SetSetting(TMusicSetting{});
}

bool TFormSelMusic::Execute(TMusicSetting& setting)
{
    SetListenOnly(false);
    SetSetting(setting);
    if (exec() != QDialog::Accepted)
        return false;
    setting = Setting();
    return true;
}

void TFormSelMusic::ExecuteListenOnly()
{
    SetListenOnly(true);
    SetSetting(NowPlayingMusic());
    exec();
}

void TFormSelMusic::SetListenOnly(bool listenOnly)
{
    FButtonOk->setVisible(!listenOnly);
    FButtonCancel->setText(listenOnly ? QStringLiteral("Cerrar") : QStringLiteral("Cancelar"));
    FButtonCancel->setDefault(listenOnly);
}

void TFormSelMusic::SetSetting(const TMusicSetting& setting)
{
    FFilling = true;
    SelectMaterialRow(FList, setting.Name);
    FFadeIn->setValue(SoundSliders::PositionOfFadeIn(setting.FadeIn));
    FVolume->setValue(SoundSliders::PositionOfVolume(setting.Volume));
    FTempo->setValue(SoundSliders::PositionOfTempo(setting.Tempo));
    FBalance->setValue(SoundSliders::PositionOfBalance(setting.Balance));
    FFilling = false;
}

TMusicSetting TFormSelMusic::Setting() const
{
    TMusicSetting s;
    s.Name = SelectedName();
    s.FadeIn = SoundSliders::FadeInOf(FFadeIn->value());
    s.Volume = SoundSliders::VolumeOf(FVolume->value());
    s.Tempo = SoundSliders::TempoOf(FTempo->value());
    s.Balance = SoundSliders::BalanceOf(FBalance->value());
    return s;
}

QString TFormSelMusic::SelectedName() const
{
    const QListWidgetItem* item = FList->currentItem();
    if (!item || !item->isSelected())
        return kNoSound;
    return StripRtpMark(item->text());
}

void TFormSelMusic::ButtonPlayClick()
{
    const TMusicSetting setting = Setting();
    if (setting.Name == kNoSound) {
        ButtonStopClick(false);
        return;
    }
    HourglassGuard hourglass;
    OpenMidi();
    OpenWaveVoices();
    const QString file = FMaterials.Resolve(setting.Name, kFolder, MaterialExtensions(kFolder));
    PlayMusic(QFile::encodeName(file).toStdString());
    FadeInMusic(setting.FadeIn);
    SetMusicVolume(setting.Volume);
    SetMusicTempo(setting.Tempo);
    SetMusicBalance(setting.Balance);
    NowPlayingMusic() = setting;
}

void TFormSelMusic::ButtonStopClick(bool shift)
{
    if (shift) {
        FadeOutMusic(5000);
        return;
    }
    StopMusic();
    CloseMidi();
    NowPlayingMusic() = TMusicSetting{kNoSound, 0, 100, 100, 50};
}

void TFormSelMusic::SliderChange()
{
    if (FFilling)
        return;
    const TMusicSetting setting = Setting();
    TMusicSetting& now = NowPlayingMusic();
    if (now.Name != kNoSound && SameMaterialName(now.Name, setting.Name)) {
        SetMusicVolume(setting.Volume);
        SetMusicTempo(setting.Tempo);
        SetMusicBalance(setting.Balance);
    }
    now.Volume = setting.Volume;
    now.Tempo = setting.Tempo;
    now.Balance = setting.Balance;
}

bool TFormSelMusic::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ButtonPlayClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
