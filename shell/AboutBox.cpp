#include "AboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TFormAboutBox::TFormAboutBox(QWidget* owner) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormAboutBox"));
    setWindowTitle(QStringLiteral("Información de la versión de Taleforge Studio"));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ImageSplash"));
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/splash.png")));
    picture->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(picture);

    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ImageIcon"));
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/app.png")).scaled(48, 48, Qt::KeepAspectRatio,
                                                                      Qt::SmoothTransformation));
    row->addWidget(icon);
    auto* text = new QLabel(QStringLiteral("Taleforge Studio versión 1.51"), this);
    text->setObjectName(QStringLiteral("LabelVersion"));
    QFont f = text->font();
    f.setPointSizeF(f.pointSizeF() * 1.25);
    f.setBold(true);
    text->setFont(f);
    row->addWidget(text, 1);
    ButtonOk = new QPushButton(QStringLiteral("Aceptar"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(ButtonOk);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
