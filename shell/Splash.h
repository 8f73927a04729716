// The start-up picture: borderless, centred, on top of everything, and gone by itself after
// 2.5 seconds.
#pragma once
#include <QWidget>

class TFormSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int ShowTimeMs = 2500;
    explicit TFormSplash(QWidget* parent = nullptr);
    // Centres it on the primary screen, shows it and starts the timer that closes it.
    void ShowFor(int milliseconds = ShowTimeMs);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap FPicture;
};
