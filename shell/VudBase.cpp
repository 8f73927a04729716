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

bool TFormVudBase::passedOn(QWidget* control, QEvent* event)
{
    if (!control || event->type() != QEvent::ContextMenu)
        return false;
    auto* e = static_cast<QContextMenuEvent*>(event);
    return e->reason() == QContextMenuEvent::Mouse &&
           !LandedOn(control, QApplication::widgetAt(e->globalPos()));
}

bool TFormVudBase::eventFilter(QObject* watched, QEvent* event)
{
    if (passedOn(qobject_cast<QWidget*>(watched), event)) {
        event->accept(); // handled: no menu, and no further passing on
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormVudBase::event(QEvent* event)
{
    if (passedOn(this, event)) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}
