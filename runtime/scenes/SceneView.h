// Base of the run time's scenes: everything is drawn into one 320 x 240 frame, which the widget
// shows enlarged by a whole factor and centred, so pixels stay square and sharp.
#pragma once
#include <QImage>
#include <QWidget>

class TSceneView : public QWidget {
    Q_OBJECT
public:
    static constexpr int FrameWidth = 320;
    static constexpr int FrameHeight = 240;

    explicit TSceneView(QWidget* parent = nullptr);

    // The last drawn frame, 320 x 240.
    const QImage& Frame() const { return FFrame; }
    // The whole factor the frame is shown at in the current widget size (at least 1).
    int Scale() const;
    // Where the enlarged frame lies in the widget.
    QRect FrameRect() const;
    // A widget position in frame pixels; (-1, -1) outside the frame.
    QPoint ToFrame(QPoint widgetPos) const;

    QSize sizeHint() const override { return {FrameWidth * 2, FrameHeight * 2}; }
    QSize minimumSizeHint() const override { return {FrameWidth, FrameHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

    QImage FFrame;
};
