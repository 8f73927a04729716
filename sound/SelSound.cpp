#include "SelSound.h"

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
const QString kFolder = QStringLiteral("Sound");
} // namespace

TFormSelSound::TFormSelSound(QWidget* owner) : TFormSelSound(PlatformSoundMaterials(), owner) {}

TFormSelSound::TFormSelSound(TSoundMaterialSource& materials, QWidget* owner)
    : QDialog(owner), FMaterials(materials)
{
    setObjectName("FormSelSound");
    setWindowTitle(QStringLiteral("Efectos Sonoros"));

    auto* grid = new QGridLayout;
    FVolume = AddSoundSlider(grid, 0, QStringLiteral("Volumen"), "SliderVolume", {});
    FTempo = AddSoundSlider(grid, 1, QStringLiteral("Tempo"), "SliderTempo",
                            {QStringLiteral("50%"), QStringLiteral("100%"), QStringLiteral("150%")});
    FBalance = AddSoundSlider(grid, 2, QStringLiteral("Balance"), "SliderBalance",
                              {QStringLiteral("Izquierda"), QStringLiteral("Centro"), QStringLiteral("Derecha")});
    const TSoundPickerParts parts =
        BuildSoundPicker(this, FMaterials.List(kFolder, MaterialExtensions(kFolder)), "ListSound", 220, grid);
    FList = parts.List;

    connect(parts.Play, &QPushButton::clicked, this, [this] { ButtonPlayClick(); });
    connect(parts.Stop, &QPushButton::clicked, this, [this] { ButtonStopClick(); });
    connect(FList, &QListWidget::itemDoubleClicked, this, [this] { ButtonPlayClick(); });

    SetSetting(TSoundSetting{});
}

bool TFormSelSound::Execute(TSoundSetting& setting)
{
    SetSetting(setting);
    if (exec() != QDialog::Accepted)
        return false;
    setting = Setting();
    return true;
}

void TFormSelSound::SetSetting(const TSoundSetting& setting)
{
    SelectMaterialRow(FList, setting.Name);
    FVolume->setValue(SoundSliders::PositionOfVolume(setting.Volume));
    FTempo->setValue(SoundSliders::PositionOfTempo(setting.Tempo));
    FBalance->setValue(SoundSliders::PositionOfBalance(setting.Balance));
}

TSoundSetting TFormSelSound::Setting() const
{
    TSoundSetting s;
    const QListWidgetItem* item = FList->currentItem();
    s.Name = item && item->isSelected() ? StripRtpMark(item->text()) : kNoSound;
    s.Volume = SoundSliders::VolumeOf(FVolume->value());
    s.Tempo = SoundSliders::TempoOf(FTempo->value());
    s.Balance = SoundSliders::BalanceOf(FBalance->value());
    return s;
}

void TFormSelSound::ButtonPlayClick()
{
    const TSoundSetting setting = Setting();
    if (setting.Name == kNoSound) {
        ButtonStopClick();
        return;
    }
    OpenWaveVoices();
    const QString file = FMaterials.Resolve(setting.Name, kFolder, MaterialExtensions(kFolder));
    PlaySoundEffect(QFile::encodeName(file).toStdString(), setting.Volume, setting.Tempo, setting.Balance);
}

void TFormSelSound::ButtonStopClick()
{
    StopSoundEffects();
}

bool TFormSelSound::eventFilter(QObject* watched, QEvent* event)
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
