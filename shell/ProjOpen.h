// "Abrir proyecto": the projects of the base folder with their titles; open, rename, delete, and
// choose another base folder.
#pragma once
#include "VudBase.h"

class QPushButton;
class QTreeWidget;
class TPathBox;

class TFormProjectOpen : public TFormVudBase {
    Q_OBJECT
public:
    explicit TFormProjectOpen(QWidget* owner = nullptr);

    // The chosen project folder's name, after OK.
    const QString& FolderName() const { return folderName; }
    const QString& BasePath() const { return basePath; }

    void ButtonOpenClick();
    void ButtonRenameClick();
    void ButtonDeleteClick();
    void PathBoxClick();
    // Fills the list again and selects `select` (or the first entry).
    void UpdateList(const QString& select = QString());

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString selectedFolder() const;
    void fitColumns();

    QString basePath;
    QString folderName;
    QTreeWidget* ListProjects;
    TPathBox* PathBox;
    QPushButton* ButtonOpen;
    QPushButton* ButtonCancel;
    QPushButton* ButtonRename;
    QPushButton* ButtonDelete;
    bool shown = false;
};
