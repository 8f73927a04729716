#include "MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
MessageService*& current()
{
    static MessageService* service = nullptr;
    return service;
}

QString& title()
{
    static QString t = QStringLiteral("Taleforge StudioV");
    return t;
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessageAnswer QtMessageService::Show(MessageIcon icon, const QString& text, MessageButtons buttons)
{
    QMessageBox box(qtIcon(icon), ApplicationTitle(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<QPair<QPushButton*, MessageAnswer>> map;
    auto add = [&](const QString& caption, QMessageBox::ButtonRole role, MessageAnswer answer) {
        map.append({box.addButton(caption, role), answer});
    };
    switch (buttons) {
    case MessageButtons::Ok:
        add(QStringLiteral("Aceptar"), QMessageBox::AcceptRole, MessageAnswer::Ok);
        break;
    case MessageButtons::OkCancel:
        add(QStringLiteral("Aceptar"), QMessageBox::AcceptRole, MessageAnswer::Ok);
        add(QStringLiteral("Cancelar"), QMessageBox::RejectRole, MessageAnswer::Cancel);
        break;
    case MessageButtons::YesNo:
        add(QStringLiteral("Sí"), QMessageBox::YesRole, MessageAnswer::Yes);
        add(QStringLiteral("No"), QMessageBox::NoRole, MessageAnswer::No);
        break;
    case MessageButtons::YesNoCancel:
        add(QStringLiteral("Sí"), QMessageBox::YesRole, MessageAnswer::Yes);
        add(QStringLiteral("No"), QMessageBox::NoRole, MessageAnswer::No);
        add(QStringLiteral("Cancelar"), QMessageBox::RejectRole, MessageAnswer::Cancel);
        break;
    }
    box.setDefaultButton(map.front().first);
    box.exec();
    for (const auto& [button, answer] : map) {
        if (box.clickedButton() == button)
            return answer;
    }
    // Closed with Escape or the title bar: the most cautious answer.
    return buttons == MessageButtons::Ok     ? MessageAnswer::Ok
           : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                              : MessageAnswer::Cancel;
}

MessageAnswer ScriptedMessageService::Show(MessageIcon icon, const QString& text,
                                           MessageButtons buttons)
{
    shown.append({icon, text, buttons});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

MessageService& Messages()
{
    static QtMessageService real;
    return current() ? *current() : real;
}

void SetMessageService(MessageService* service)
{
    current() = service;
}

QString ApplicationTitle()
{
    return title();
}

void SetApplicationTitle(const QString& t)
{
    title() = t;
}
