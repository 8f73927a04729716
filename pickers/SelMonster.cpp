#include "SelMonster.h"

#include <QBoxLayout>
#include <QColor>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QWidget>

// The hues the slider turns the battler's colours to: column x shows the colour that pure red
// becomes, shifted along by x × 360 / 216 degrees, so the strip slides as the slider moves.
class THueStrip : public QWidget {
public:
    THueStrip()
    {
        setObjectName(QStringLiteral("HueStrip"));
        setFixedSize(216, 12);
    }
    int Hue = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int x = 0; x < width(); ++x) {
            painter.setPen(QColor::fromHsv((Hue + x * 360 / width()) % 360, 255, 255));
            painter.drawLine(x, 0, x, height() - 1);
        }
    }
};

TFormSelMonster::TFormSelMonster(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelMonster"), QStringLiteral("Gráficos de Enemigo"), QStringLiteral("Monster"),
                        QSize(320, 160), QSize(), true},
                       owner)
{
    FSlider = new QSlider(Qt::Horizontal);
    FSlider->setObjectName(QStringLiteral("SliderHue"));
    FSlider->setRange(0, 36);
    FSlider->setPageStep(1);
    FSlider->setFixedWidth(216);
    FSlider->setValue(18);
    FStrip = new THueStrip;
    ExtraLayout()->addWidget(FStrip);
    ExtraLayout()->addWidget(FSlider);
    connect(FSlider, &QSlider::valueChanged, this, [this] { SliderHueChange(); });
}

bool TFormSelMonster::Execute(QString& name, int& hue)
{
    SetHue(hue);
    if (!TFormSelMaterial::Execute(name))
        return false;
    hue = Hue();
    return true;
}

int TFormSelMonster::HueOfPosition(int position)
{
    return (position * 10 + 180) % 360;
}

int TFormSelMonster::PositionOfHue(int hue)
{
    return (((hue % 360) + 360 + 180) % 360) / 10;
}

void TFormSelMonster::SetHue(int hue)
{
    FSlider->setValue(PositionOfHue(hue));
    SliderHueChange();
}

int TFormSelMonster::Hue() const
{
    return HueOfPosition(FSlider->value());
}

void TFormSelMonster::MaterialLoaded()
{
    FLoadedPalette = Sheet.Palette;
    // Another file starts from its own colours; the hue the caller gave stays for the first.
    const bool another = !FFirstLoad && MaterialName().compare(FLoadedName, Qt::CaseInsensitive) != 0;
    FFirstLoad = false;
    FLoadedName = MaterialName();
    const QSignalBlocker block(FSlider);
    if (another)
        FSlider->setValue(18);
    FStrip->Hue = Hue();
    FStrip->update();
    Sheet.RotateHue(Hue());
}

void TFormSelMonster::SliderHueChange()
{
    Sheet.Palette = FLoadedPalette;
    Sheet.RotateHue(Hue());
    FStrip->Hue = Hue();
    FStrip->update();
    RedrawPreview();
}

void TFormSelMonster::DrawPreview(TVireoBoard& board)
{
    PickerDraw::FillBoard(board, Sheet.ColorTable[0]);
    board.DrawSheet((board.Width() - Sheet.Width()) / 2, (board.Height() - Sheet.Height()) / 2,
                    Sheet.BoundsRect(), Sheet);
}
