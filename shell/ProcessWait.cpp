#include "ProcessWait.h"

#include "GameRunTime.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

TFormProcessWait::TFormProcessWait(QWidget* owner) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProcessWait"));
    // Minimise and maximise only: there is no close box to press while the game runs.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setFixedSize(120, 48);

    FPanel = new QLabel(QStringLiteral("En ejecución"), this);
    FPanel->setObjectName(QStringLiteral("PanelMessage"));
    FPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    FPanel->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FPanel);

    FTimer = new QTimer(this);
    FTimer->setObjectName(QStringLiteral("Timer"));
    FTimer->setInterval(50);
    connect(FTimer, &QTimer::timeout, this, &TFormProcessWait::TimerTimer);

    // Where the window system does not turn Alt+F4 into a close request, it still does nothing.
    FActionAltF4 = new QAction(this);
    FActionAltF4->setObjectName(QStringLiteral("ActionAltF4"));
    FActionAltF4->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    FActionAltF4->setShortcutContext(Qt::WindowShortcut);
    addAction(FActionAltF4);
}

TFormProcessWait::~TFormProcessWait()
{
    qApp->removeEventFilter(this);
}

void TFormProcessWait::SetProcess(std::function<bool()> running)
{
    FRunning = std::move(running);
}

void TFormProcessWait::SetProcess(const TRunTimeProcess& process)
{
    SetProcess([&process] { return process.Running(); });
}

void TFormProcessWait::showEvent(QShowEvent* event)
{
    TFormVudBase::showEvent(event);
    if (!FEnded)
        qApp->installEventFilter(this);
    FTimer->start();
}

bool TFormProcessWait::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && !FEnded && watched != this && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        event->ignore();
        return true;
    }
    // The base looks after this box's own controls only.
    const bool own = watched->isWidgetType() && isAncestorOf(static_cast<QWidget*>(watched));
    return own && TFormVudBase::eventFilter(watched, event);
}

void TFormProcessWait::TimerTimer()
{
    if (FRunning && FRunning())
        return;
    FTimer->stop();
    FEnded = true;
    qApp->removeEventFilter(this);
    if (QWidget* owner = parentWidget()) {
        QWidget* editor = owner->window();
        editor->raise();
        editor->activateWindow();
    }
    done(QDialog::Accepted);
}

void TFormProcessWait::done(int result)
{
    // Esc, reject() and the like end up here: only the end of the game may close the box.
    if (!FEnded)
        return;
    TFormVudBase::done(result);
}

void TFormProcessWait::closeEvent(QCloseEvent* event)
{
    if (FEnded)
        event->accept();
    else
        event->ignore();
}
