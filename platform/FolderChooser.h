// The parts every folder chooser shares (project base folder, game disk destination, Setup's
// install folder): a folder tree, a path box that follows the tree, and OK/Cancel. Each dialog
// keeps its own rules for what the box may hold and what OK does.
#pragma once
#include <QSize>
#include <QString>

class QDialog;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

struct TFolderChooserParts {
    QFileSystemModel* Model = nullptr;
    QTreeView* TreeFolders = nullptr;
    QLineEdit* EditPath = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;
};

// Lays the parts out in `dialog`, selects `shownFolder` in the tree when it exists, and wires
// the tree to the path box and Cancel to reject. OK is left for the dialog to connect.
TFolderChooserParts BuildFolderChooser(QDialog* dialog, const QString& shownFolder, QSize size);

// The end of every chooser's OK: an existing folder is fine; a missing one is created when the
// user agrees. False (after `failMessage`, or the user's No) leaves the dialog open.
bool FolderExistsOrCreated(const QString& folder, const QString& failMessage);
