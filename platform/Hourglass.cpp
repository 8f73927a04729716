#include "Hourglass.h"

#include <QCursor>
#include <QGuiApplication>

HourglassGuard::HourglassGuard()
{
    // Code that runs without a GUI (tools, core tests) simply has no cursor to change.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        active = true;
    }
}

HourglassGuard::~HourglassGuard()
{
    if (active)
        QGuiApplication::restoreOverrideCursor();
}
