// "Cambiar nombre": a project's folder name and game title.
#pragma once
#include "VudBase.h"

class QLineEdit;
class QPushButton;

class TFormProjectRename : public TFormVudBase {
    Q_OBJECT
public:
    TFormProjectRename(QWidget* owner, const QString& basePath, const QString& folderName,
                       const QString& title);

    QString FolderName() const;
    QString GameTitle() const;

    void ButtonOkClick();

private:
    QString basePath;
    QString oldName;
    QLineEdit* EditFolder;
    QLineEdit* EditTitle;
    QPushButton* ButtonOk;
    QPushButton* ButtonCancel;
};
