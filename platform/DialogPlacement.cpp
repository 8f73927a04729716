#include "DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QPoint DialogPosition(const QRect& ownerFrame, const QPoint& ownerClient, const QSize& dialog,
                      const QRect& screen, std::optional<QPoint> offset)
{
    QPoint p = offset ? ownerClient + *offset
                      : QPoint(ownerFrame.x() + (ownerFrame.width() - dialog.width()) / 2,
                               ownerFrame.y() + (ownerFrame.height() - dialog.height()) / 2);
    p.setX(std::max(screen.left(), std::min(p.x(), screen.left() + screen.width() - dialog.width())));
    p.setY(std::max(screen.top(), std::min(p.y(), screen.top() + screen.height() - dialog.height())));
    return p;
}

void PlaceDialog(QWidget* dialog, QWidget* owner, std::optional<QPoint> offset)
{
    if (!dialog->testAttribute(Qt::WA_Resized))
        dialog->adjustSize();
    QWidget* top = owner ? owner->window() : nullptr;
    QScreen* screen = top && top->screen() ? top->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QRect ownerFrame = top ? top->frameGeometry() : avail;
    const QPoint client = top ? top->mapToGlobal(QPoint(0, 0)) : avail.topLeft();
    dialog->move(DialogPosition(ownerFrame, client, dialog->frameGeometry().size(), avail,
                                top ? offset : std::nullopt));
}
