// "Seleccionar ruta de instalación": the folder chooser of Setup's start dialog.
#pragma once
#include "FolderChooser.h"
#include <QDialog>


class TFormInstallPath : public QDialog {
    Q_OBJECT
public:
    TFormInstallPath(QWidget* owner, const QString& path);

    // The accepted folder, full, with a trailing '/'.
    const QString& Path() const { return path; }
    void SetEditText(const QString& text);

    void ButtonOkClick();
    // Our counterpart of "X:\...": an absolute path of at least three characters.
    static bool WellFormedPath(const QString& text);

private:
    void EditPathChange();

    QString path;
    TFolderChooserParts ui;
};
