// Helpers for driving the main window: painting a cell with the mouse, answering the next modal
// dialog, and a project made the way the editor makes one.
#pragma once
#include <QPoint>
#include <QString>
#include <functional>

class QWidget;
class TFormVudMain;

// Clicks the left button on `cell` of the map editor's picture with the current tool.
void PaintCellWithMouse(TFormVudMain& window, QPoint cell);
// Runs `step` on the next modal dialog that opens.
void OnNextModal(std::function<void(QWidget*)> step);
// Creates the project through the new-project dialog of the running window.
void CreateProjectThroughDialog(TFormVudMain& window, const QString& title);
// Opens the first listed project through the open dialog.
void OpenFirstProjectThroughDialog(TFormVudMain& window);
