#include "VudBase.h"

#include "DialogPlacement.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

TFormVudBase::TFormVudBase(QWidget* owner) : QDialog(owner) {}

void TFormVudBase::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        auto* help = findChild<QAbstractButton*>(QStringLiteral("ButtonHelp"));
        if (help && help->isEnabled() && help->isVisible()) {
            help->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TFormVudBase::showEvent(QShowEvent* event)
{
    watchChildren();
    if (!placed && isWindow()) {
        placed = true;
        PlaceDialog(this, parentWidget(), PlacementOffset);
    }
    QDialog::showEvent(event);
}

void TFormVudBase::watchChildren()
{
    for (QWidget* w : findChildren<QWidget*>()) {
        w->removeEventFilter(this);
        w->installEventFilter(this);
    }
}

bool TFormVudBase::LandedOn(QWidget* control, QWidget* clicked)
{
    if (!clicked || clicked == control)
        return true;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control); area && area->viewport() == clicked)
        return true;
    return control->focusProxy() == clicked;
}

bool TFormVudBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu) {
        auto* e = static_cast<QContextMenuEvent*>(event);
        auto* control = qobject_cast<QWidget*>(watched);
        if (control && e->reason() == QContextMenuEvent::Mouse &&
            !LandedOn(control, QApplication::widgetAt(e->globalPos())))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
