#include "ProjDiskPath.h"

#include "DriveProbe.h"
#include "Hourglass.h"
#include "MessageService.h"
#include "ProgramFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
const char* const kCannotSet = "No se puede establecer la ruta especificada.";
}

TFormProjectDiskPath::TFormProjectDiskPath(QWidget* owner, const QString& initial) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProjectDiskPath"));
    setWindowTitle(QStringLiteral("Ruta de Cración del Disco de Juego"));
    model = new QFileSystemModel(this);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QStringLiteral("/"));
    TreeFolders = new QTreeView;
    TreeFolders->setObjectName(QStringLiteral("TreeFolders"));
    TreeFolders->setModel(model);
    TreeFolders->setHeaderHidden(true);
    for (int c = 1; c < model->columnCount(); ++c)
        TreeFolders->hideColumn(c);
    EditPath = new QLineEdit;
    EditPath->setObjectName(QStringLiteral("EditPath"));
    EditPath->setMaxLength(250);
    auto* buttons = new QDialogButtonBox;
    ButtonOk = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TreeFolders, 1);
    layout->addWidget(EditPath);
    layout->addWidget(buttons);
    resize(360, 400);

    connect(EditPath, &QLineEdit::textChanged, this, &TFormProjectDiskPath::EditPathChange);
    connect(TreeFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid())
                    EditPath->setText(QDir::toNativeSeparators(model->filePath(index)));
            });
    connect(ButtonOk, &QPushButton::clicked, this, &TFormProjectDiskPath::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    const QModelIndex start = model->index(QDir::cleanPath(initial));
    if (start.isValid()) {
        TreeFolders->setCurrentIndex(start);
        TreeFolders->scrollTo(start);
    }
    SetEditText(QDir::toNativeSeparators(initial));
}

void TFormProjectDiskPath::SetEditText(const QString& text)
{
    EditPath->setText(text);
    EditPathChange();
}

bool TFormProjectDiskPath::AcceptableText(const QString& text)
{
    return QDir::isAbsolutePath(QDir::fromNativeSeparators(text));
}

void TFormProjectDiskPath::EditPathChange()
{
    ButtonOk->setEnabled(AcceptableText(EditPath->text()));
}

void TFormProjectDiskPath::ButtonOkClick()
{
    if (!AcceptableText(EditPath->text()))
        return;
    const QString full = WithTrailingSeparator(QDir::cleanPath(QDir::fromNativeSeparators(EditPath->text())));
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
    if (!QFileInfo(full).isDir()) {
        if (!Messages().Question(QStringLiteral("La carpeta no existe. ¿Desea crearla?")))
            return;
        HourglassGuard hourglass;
        QDir().mkpath(full);
        if (!QFileInfo(full).isDir()) {
            Messages().Error(QStringLiteral("No se puede crear la carpeta."));
            return;
        }
    }
    path = full;
    accept();
}
