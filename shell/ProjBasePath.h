// "Ruta de Proyecto": choose the folder in which projects are created and searched.
#pragma once
#include "FolderChooser.h"
#include "VudBase.h"


class TFormProjectBasePath : public TFormVudBase {
    Q_OBJECT
public:
    TFormProjectBasePath(QWidget* owner, const QString& path);

    // The accepted folder, full, with a trailing separator.
    const QString& Path() const { return path; }
    void SetEditText(const QString& text);

    void ButtonOkClick();
    // An existing folder given by an absolute path (this system's counterpart of "X:\").
    static bool AcceptablePath(const QString& text);

private:
    void EditPathChange();

    QString path;
    TFolderChooserParts ui;
};
