// The small modal box shown while the game runs: it polls the game every 50 ms, refuses every
// attempt to close it, and closes itself (with OK) once the game has ended, bringing the editor
// back to the front.
#pragma once
#include "VudBase.h"

#include <functional>

class QAction;
class QLabel;
class QTimer;
class TRunTimeProcess;

class TFormProcessWait : public TFormVudBase {
    Q_OBJECT
public:
    explicit TFormProcessWait(QWidget* owner = nullptr);
    ~TFormProcessWait() override;

    // What to watch: true while the process is still running.
    void SetProcess(std::function<bool()> running);
    void SetProcess(const TRunTimeProcess& process);

    QLabel* Panel() const { return FPanel; }
    QTimer* Timer() const { return FTimer; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // While the game runs no editor window closes, whoever asks.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TimerTimer();

    std::function<bool()> FRunning;
    QLabel* FPanel = nullptr;
    QTimer* FTimer = nullptr;
    QAction* FActionAltF4 = nullptr;
    bool FEnded = false;
};
