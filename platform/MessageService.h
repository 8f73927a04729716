// Message boxes: one service shows every notice and question modally, with the application
// title as caption and Spanish buttons. Tests install ScriptedMessageService.
#pragma once
#include <QList>
#include <QString>

class QWidget;

enum class MessageIcon { Error, Information, Question, Warning };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer Show(MessageIcon icon, const QString& text, MessageButtons buttons) = 0;

    // The helpers every caller uses.
    void Error(const QString& text) { Show(MessageIcon::Error, text, MessageButtons::Ok); }
    void Information(const QString& text) { Show(MessageIcon::Information, text, MessageButtons::Ok); }
    void Warning(const QString& text) { Show(MessageIcon::Warning, text, MessageButtons::Ok); }
    // Question icon, Yes/No.
    bool Question(const QString& text)
    {
        return Show(MessageIcon::Question, text, MessageButtons::YesNo) == MessageAnswer::Yes;
    }
    // Warning icon, Yes/No.
    bool WarningYesNo(const QString& text)
    {
        return Show(MessageIcon::Warning, text, MessageButtons::YesNo) == MessageAnswer::Yes;
    }
    MessageAnswer YesNoCancel(const QString& text)
    {
        return Show(MessageIcon::Question, text, MessageButtons::YesNoCancel);
    }
};

// QMessageBox over the active window (or alone when there is none).
class QtMessageService : public MessageService {
public:
    MessageAnswer Show(MessageIcon icon, const QString& text, MessageButtons buttons) override;
};

// Records every box and answers from a queue; an empty queue answers Ok, or No for questions.
class ScriptedMessageService : public MessageService {
public:
    struct Shown {
        MessageIcon icon;
        QString text;
        MessageButtons buttons;
    };
    MessageAnswer Show(MessageIcon icon, const QString& text, MessageButtons buttons) override;

    QList<MessageAnswer> answers;
    QList<Shown> shown;
};

// The service in use.
MessageService& Messages();
// Installs `service` (not owned); nullptr restores the real boxes.
void SetMessageService(MessageService* service);

// Caption of every box; the main window sets it at start-up.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// Installs a scripted service for one scope (tests).
class ScopedMessageService {
public:
    ScopedMessageService() { SetMessageService(&fake); }
    ~ScopedMessageService() { SetMessageService(nullptr); }
    ScriptedMessageService fake;
};
