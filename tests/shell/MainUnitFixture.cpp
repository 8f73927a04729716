#include "MainUnitFixture.h"

#include "MainUnit.h"
#include "MapEditor.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

void PaintCellWithMouse(TFormVudMain& window, QPoint cell)
{
    TFormMapEditor* editor = window.MapEditor();
    QWidget* box = editor->PaintBox();
    const QPoint p = editor->CellRectToPixels(QRect(cell, QSize(1, 1))).center();
    if (editor->CellAt(p) != cell)
        throw std::runtime_error("cell not on the visible picture");
    QTest::mouseMove(box, p);
    QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, p);
}

void OnNextModal(std::function<void(QWidget*)> step)
{
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            throw std::runtime_error("no modal dialog");
        step(modal);
    });
}

void CreateProjectThroughDialog(TFormVudMain& window, const QString& title)
{
    OnNextModal([title](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("EditTitle"))->setText(title);
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonOk"))->click();
    });
    window.Action_ProjectNew->trigger();
}

void OpenFirstProjectThroughDialog(TFormVudMain& window)
{
    OnNextModal([](QWidget* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonOpen"))->click();
    });
    window.Action_ProjectOpen->trigger();
}
