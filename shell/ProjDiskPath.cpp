#include "ProjDiskPath.h"

#include "DriveProbe.h"
#include "MessageService.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char* const kCannotSet = "No se puede establecer la ruta especificada.";
}

TFormProjectDiskPath::TFormProjectDiskPath(QWidget* owner, const QString& initial) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProjectDiskPath"));
    setWindowTitle(QStringLiteral("Ruta de Cración del Disco de Juego"));
    ui = BuildFolderChooser(this, initial, QSize(360, 400));
    ui.EditPath->setMaxLength(250);
    connect(ui.EditPath, &QLineEdit::textChanged, this, &TFormProjectDiskPath::EditPathChange);
    connect(ui.ButtonOk, &QPushButton::clicked, this, &TFormProjectDiskPath::ButtonOkClick);
    SetEditText(QDir::toNativeSeparators(initial));
}

void TFormProjectDiskPath::SetEditText(const QString& text)
{
    ui.EditPath->setText(text);
    EditPathChange();
}

bool TFormProjectDiskPath::AcceptableText(const QString& text)
{
    return QDir::isAbsolutePath(QDir::fromNativeSeparators(text));
}

void TFormProjectDiskPath::EditPathChange()
{
    ui.ButtonOk->setEnabled(AcceptableText(ui.EditPath->text()));
}

void TFormProjectDiskPath::ButtonOkClick()
{
    if (!AcceptableText(ui.EditPath->text()))
        return;
    const QString full = WithTrailingSeparator(QDir::cleanPath(QDir::fromNativeSeparators(ui.EditPath->text())));
    const DriveProbe& drives = Drives();
    if (drives.IsFloppy(full)) {
        // Volumes go onto whole disks: only the drive's root will do.
        if (QDir::cleanPath(full) != QDir::cleanPath(drives.DriveRoot(full))) {
            Messages().Error(QString::fromUtf8(kCannotSet));
            return;
        }
    } else if (drives.IsCdRom(full)) {
        Messages().Error(QString::fromUtf8(kCannotSet));
        return;
    }
    if (!drives.IsReady(full)) {
        Messages().Error(QStringLiteral("El dispositivo no está listo."));
        return;
    }
    if (!FolderExistsOrCreated(full, QStringLiteral("No se puede crear la carpeta.")))
        return;
    path = full;
    accept();
}
