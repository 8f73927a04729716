#include "InstallPath.h"

#include "DialogPlacement.h"
#include "DriveProbe.h"
#include "MessageService.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

TFormInstallPath::TFormInstallPath(QWidget* owner, const QString& initial) : QDialog(owner)
{
    setObjectName(QStringLiteral("FormInstallPath"));
    setWindowTitle(QStringLiteral("Seleccionar ruta de instalación"));
    // Show the nearest folder that exists; the text keeps the path as given.
    QString shown = QDir::cleanPath(initial);
    while (!shown.isEmpty() && shown != QLatin1String("/") && !QFileInfo(shown).isDir())
        shown = QFileInfo(shown).absolutePath();
    ui = BuildFolderChooser(this, shown, QSize(380, 420));
    connect(ui.EditPath, &QLineEdit::textChanged, this, &TFormInstallPath::EditPathChange);
    connect(ui.ButtonOk, &QPushButton::clicked, this, &TFormInstallPath::ButtonOkClick);
    SetEditText(QDir::toNativeSeparators(initial));
    PlaceDialog(this, owner);
}

void TFormInstallPath::SetEditText(const QString& text)
{
    ui.EditPath->setText(text);
    EditPathChange();
}

bool TFormInstallPath::WellFormedPath(const QString& text)
{
    return text.size() >= 3 && QDir::isAbsolutePath(QDir::fromNativeSeparators(text));
}

void TFormInstallPath::EditPathChange()
{
    ui.ButtonOk->setEnabled(WellFormedPath(ui.EditPath->text()));
}

void TFormInstallPath::ButtonOkClick()
{
    if (!WellFormedPath(ui.EditPath->text()))
        return;
    const QString full = WithTrailingSeparator(
        QDir::cleanPath(QDir(QDir::fromNativeSeparators(ui.EditPath->text())).absolutePath()));
    const DriveProbe& drives = Drives();
    if (drives.IsFloppy(full) || drives.IsCdRom(full) || !QFileInfo(drives.DriveRoot(full)).isDir()) {
        Messages().Error(QStringLiteral("No se puede acceder a la ruta especificada."));
        return;
    }
    if (!drives.IsReady(full)) {
        Messages().Error(QStringLiteral("No está listo el dispositivo."));
        return;
    }
    if (!FolderExistsOrCreated(full, QStringLiteral("No se ha creado la carpeta.")))
        return;
    path = full;
    accept();
}
