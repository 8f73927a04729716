#include "SoundPickerSupport.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include "Materials.h"

TMusicSetting& NowPlayingMusic()
{
    static TMusicSetting music;
    return music;
}

namespace SoundSliders {

namespace {
int position(int value, int offset, int unit)
{
    // Nearest position, so values stored by other means land where they belong.
    const int v = value - offset;
    return std::clamp((v >= 0 ? v + unit / 2 : v - unit / 2) / unit, 0, 10);
}
} // namespace

int FadeInOf(int p) { return p * 1000; }
int VolumeOf(int p) { return p * 10; }
int TempoOf(int p) { return p * 10 + 50; }
int BalanceOf(int p) { return p * 10; }
int PositionOfFadeIn(int ms) { return position(ms, 0, 1000); }
int PositionOfVolume(int volume) { return position(volume, 0, 10); }
int PositionOfTempo(int tempo) { return position(tempo, 50, 10); }
int PositionOfBalance(int balance) { return position(balance, 0, 10); }

} // namespace SoundSliders

namespace {

class PlatformMaterials : public TSoundMaterialSource {
public:
    QStringList List(const QString& folder, const QStringList& extensions) override
    {
        QStringList names;
        ListMaterials(names, folder, extensions);
        return names;
    }
    QString Resolve(const QString& name, const QString& folder, const QStringList& extensions) override
    {
        return ResolveMaterialFile(name, folder, extensions);
    }
};

} // namespace

TSoundMaterialSource& PlatformSoundMaterials()
{
    static PlatformMaterials materials;
    return materials;
}

bool SameMaterialName(const QString& a, const QString& b)
{
    return QString::compare(StripRtpMark(a), StripRtpMark(b), Qt::CaseInsensitive) == 0;
}

QSlider* AddSoundSlider(QGridLayout* grid, int row, const QString& caption, const QString& objectName,
                        const QStringList& labels)
{
    auto* title = new QLabel(caption);
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(objectName);
    slider->setRange(0, 10);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setMinimumWidth(180);
    title->setBuddy(slider);
    grid->addWidget(title, row * 2, 0);
    grid->addWidget(slider, row * 2, 1);
    if (!labels.isEmpty()) {
        auto* marks = new QHBoxLayout;
        for (int i = 0; i < labels.size(); ++i) {
            auto* label = new QLabel(labels[i]);
            label->setObjectName(objectName + QStringLiteral("Label%1").arg(i));
            label->setAlignment(i == 0 ? Qt::AlignLeft : i == labels.size() - 1 ? Qt::AlignRight : Qt::AlignHCenter);
            marks->addWidget(label, 1);
        }
        grid->addLayout(marks, row * 2 + 1, 1);
    }
    return slider;
}

TSoundPickerParts BuildSoundPicker(QDialog* dialog, const QStringList& names, const QString& listName,
                                   int minListHeight, QGridLayout* sliders)
{
    TSoundPickerParts parts{};
    parts.List = new QListWidget;
    parts.List->setObjectName(listName);
    parts.List->setMinimumSize(200, minListHeight);
    parts.List->addItem(kNoSound);
    parts.List->addItems(names);
    parts.List->installEventFilter(dialog);

    parts.Play = new QPushButton(QStringLiteral("Reproducir"));
    parts.Play->setObjectName("ButtonPlay");
    parts.Play->setAutoDefault(false);
    parts.Stop = new QPushButton(QStringLiteral("Parar"));
    parts.Stop->setObjectName("ButtonStop");
    parts.Stop->setAutoDefault(false);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(parts.Play);
    playRow->addWidget(parts.Stop);

    auto* sliderBox = new QGroupBox;
    sliderBox->setLayout(sliders);

    parts.Ok = new QPushButton(QStringLiteral("Aceptar"));
    parts.Ok->setObjectName("ButtonOk");
    parts.Ok->setDefault(true);
    parts.Cancel = new QPushButton(QStringLiteral("Cancelar"));
    parts.Cancel->setObjectName("ButtonCancel");
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(parts.Ok);
    okRow->addWidget(parts.Cancel);

    auto* right = new QVBoxLayout;
    right->addLayout(playRow);
    right->addWidget(sliderBox);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(parts.List, 1);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(top);
    layout->addLayout(okRow);

    QObject::connect(parts.Ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(parts.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return parts;
}

void SelectMaterialRow(QListWidget* list, const QString& name)
{
    list->setCurrentRow(-1);
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        if (SameMaterialName(list->item(i)->text(), name)) {
            list->setCurrentRow(i);
            return;
        }
}
