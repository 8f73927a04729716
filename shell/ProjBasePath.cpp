#include "ProjBasePath.h"

#include "DriveProbe.h"
#include "Hourglass.h"
#include "MessageService.h"
#include "ProgramFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TFormProjectBasePath::TFormProjectBasePath(QWidget* owner, const QString& initial) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProjectBasePath"));
    setWindowTitle(QStringLiteral("Ruta de Proyecto"));
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

    connect(EditPath, &QLineEdit::textChanged, this, &TFormProjectBasePath::EditPathChange);
    connect(TreeFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid())
                    EditPath->setText(QDir::toNativeSeparators(model->filePath(index)));
            });
    connect(ButtonOk, &QPushButton::clicked, this, &TFormProjectBasePath::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    SetEditText(QDir::toNativeSeparators(initial));
    const QModelIndex start = model->index(QDir::cleanPath(initial));
    if (start.isValid()) {
        TreeFolders->setCurrentIndex(start);
        TreeFolders->scrollTo(start);
    }
    SetEditText(QDir::toNativeSeparators(initial));
}

void TFormProjectBasePath::SetEditText(const QString& text)
{
    EditPath->setText(text);
    EditPathChange();
}

bool TFormProjectBasePath::AcceptablePath(const QString& text)
{
    return QDir::isAbsolutePath(text) && QFileInfo(text).isDir();
}

void TFormProjectBasePath::EditPathChange()
{
    ButtonOk->setEnabled(AcceptablePath(EditPath->text()));
}

void TFormProjectBasePath::ButtonOkClick()
{
    if (!AcceptablePath(EditPath->text()) && !QDir::isAbsolutePath(EditPath->text()))
        return;
    const QString full = WithTrailingSeparator(QDir::cleanPath(QDir::fromNativeSeparators(EditPath->text())));
    const DriveProbe& drives = Drives();
    if (drives.IsFloppy(full) || drives.IsCdRom(full)) {
        Messages().Error(QStringLiteral("No se puede establecer la ruta especificada."));
        return;
    }
    if (!drives.IsReady(full)) {
        Messages().Error(QStringLiteral("El dispositivo no está listo."));
        return;
    }
    if (!QFileInfo(full).isDir()) {
        // The folder went away after it was chosen.
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
