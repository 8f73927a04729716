#include "Splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FPicture(QStringLiteral(":/icons/splash.png"))
{
    setObjectName(QStringLiteral("FormSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(512, 256);
}

void TFormSplash::ShowFor(int milliseconds)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    QTimer::singleShot(milliseconds, this, &QWidget::close);
}

void TFormSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(rect(), FPicture);
}

void TFormSplash::mousePressEvent(QMouseEvent*)
{
    close();
}
