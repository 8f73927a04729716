// "Ruta de Cración del Disco de Juego": where the game disk goes. A floppy drive is taken only at
// its root; a CD-ROM never; a missing folder is created on request.
#pragma once
#include "FolderChooser.h"
#include "VudBase.h"


class TFormProjectDiskPath : public TFormVudBase {
    Q_OBJECT
public:
    TFormProjectDiskPath(QWidget* owner, const QString& path);

    // The accepted folder, full, with a trailing separator.
    const QString& Path() const { return path; }
    void SetEditText(const QString& text);

    void ButtonOkClick();
    // An absolute path: this system's counterpart of "X:\".
    static bool AcceptableText(const QString& text);

private:
    void EditPathChange();

    QString path;
    TFolderChooserParts ui;
};
