#include "SelSystem.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QButtonGroup* addOptions(QWidget* parent, QBoxLayout* layout, const QString& name, const QString& caption,
                         const QStringList& texts)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < texts.size(); ++i) {
        auto* radio = new QRadioButton(texts[i]);
        radio->setObjectName(name + QString::number(i));
        group->addButton(radio, i);
        column->addWidget(radio);
    }
    layout->addWidget(box);
    return group;
}

void check(QButtonGroup* group, int id)
{
    // A value no button stands for leaves every button clear and is given back unchanged.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}
} // namespace

TFormSelSystem::TFormSelSystem(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelSystem"), QStringLiteral("Gráficos del sistema"), QStringLiteral("System"),
                        QSize(160, 128), QSize(160, 128)},
                       owner)
{
    auto* row = new QHBoxLayout;
    ExtraLayout()->addLayout(row);
    FWallpaperGroup = addOptions(this, row, QStringLiteral("GroupWallpaper"), QStringLiteral("Papel Tapiz"),
                                 {QStringLiteral("Agrandar en Mapa"), QStringLiteral("Disminuir en Mapa")});
    FFontGroup = addOptions(this, row, QStringLiteral("GroupFont"), QStringLiteral("Tipo de letra"),
                            {QStringLiteral("Lucida Console"), QStringLiteral("Courier New")});
    connect(FWallpaperGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) { if (on) FWallpaper = id; });
    connect(FFontGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) { if (on) FMessageFont = id; });
    check(FWallpaperGroup, FWallpaper);
    check(FFontGroup, FMessageFont);
}

void TFormSelSystem::SetWallpaper(int value)
{
    FWallpaper = value;
    check(FWallpaperGroup, value);
}

void TFormSelSystem::SetMessageFont(int value)
{
    FMessageFont = value;
    check(FFontGroup, value);
}

bool TFormSelSystem::Execute(QString& name, int& wallpaper, int& messageFont)
{
    SetWallpaper(wallpaper);
    SetMessageFont(messageFont);
    if (!TFormSelMaterial::Execute(name))
        return false;
    wallpaper = Wallpaper();
    messageFont = MessageFont();
    return true;
}
