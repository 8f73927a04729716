// Base of every editor form (dialogs and embedded views). F1 presses the form's ButtonHelp when
// it has one and it is enabled; a control's context menu opens only when the right click landed
// on that control itself, never because a child passed the click on. Dialogs open centred on
// their owner, or at the offset a form sets, and stay on screen.
#pragma once
#include <QDialog>
#include <QPoint>
#include <optional>

class TFormVudBase : public QDialog {
    Q_OBJECT
public:
    explicit TFormVudBase(QWidget* owner = nullptr);

    // Whether a context menu event delivered to `control` comes from a click on it (or on the
    // viewport or focus proxy that is part of it), and not from a click on a child control.
    static bool LandedOn(QWidget* control, QWidget* clicked);

protected:
    // Offset from the owner's client origin; none means centred on the owner.
    std::optional<QPoint> PlacementOffset;

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void watchChildren();
    // True when a mouse context menu event reached `control` from a click on another widget.
    static bool passedOn(QWidget* control, QEvent* event);
    bool placed = false;
};
