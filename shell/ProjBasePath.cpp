#include "ProjBasePath.h"

#include "DriveProbe.h"
#include "MessageService.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

TFormProjectBasePath::TFormProjectBasePath(QWidget* owner, const QString& initial) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProjectBasePath"));
    setWindowTitle(QStringLiteral("Ruta de Proyecto"));
    ui = BuildFolderChooser(this, initial, QSize(360, 400));
    ui.EditPath->setMaxLength(250);
    connect(ui.EditPath, &QLineEdit::textChanged, this, &TFormProjectBasePath::EditPathChange);
    connect(ui.ButtonOk, &QPushButton::clicked, this, &TFormProjectBasePath::ButtonOkClick);
    SetEditText(QDir::toNativeSeparators(initial));
}

void TFormProjectBasePath::SetEditText(const QString& text)
{
    ui.EditPath->setText(text);
    EditPathChange();
}

bool TFormProjectBasePath::AcceptablePath(const QString& text)
{
    return QDir::isAbsolutePath(text) && QFileInfo(text).isDir();
}

void TFormProjectBasePath::EditPathChange()
{
    ui.ButtonOk->setEnabled(AcceptablePath(ui.EditPath->text()));
}

void TFormProjectBasePath::ButtonOkClick()
{
    if (!AcceptablePath(ui.EditPath->text()) && !QDir::isAbsolutePath(ui.EditPath->text()))
        return;
    const QString full = WithTrailingSeparator(QDir::cleanPath(QDir::fromNativeSeparators(ui.EditPath->text())));
    const DriveProbe& drives = Drives();
    if (drives.IsFloppy(full) || drives.IsCdRom(full)) {
        Messages().Error(QStringLiteral("No se puede establecer la ruta especificada."));
        return;
    }
    if (!drives.IsReady(full)) {
        Messages().Error(QStringLiteral("El dispositivo no está listo."));
        return;
    }
    // The folder may have gone away after it was chosen.
    if (!FolderExistsOrCreated(full, QStringLiteral("No se puede crear la carpeta.")))
        return;
    path = full;
    accept();
}
