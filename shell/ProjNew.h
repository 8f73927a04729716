// "Crear Nuevo Proyecto": folder name, game title and the base folder. OK creates the (empty)
// project folder; the manager then fills it.
#pragma once
#include "VudBase.h"

class QLineEdit;
class QPushButton;
class TPathBox;

class TFormProjectNew : public TFormVudBase {
    Q_OBJECT
public:
    explicit TFormProjectNew(QWidget* owner = nullptr);

    QString FolderName() const;
    QString GameTitle() const;
    const QString& BasePath() const { return basePath; }

    void ButtonOkClick();
    void PathBoxClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QString basePath;
    QLineEdit* EditFolder;
    QLineEdit* EditTitle;
    TPathBox* PathBox;
    QPushButton* ButtonOk;
    QPushButton* ButtonCancel;
    bool shown = false;
};
