#include "FolderChooser.h"

#include "Hourglass.h"
#include "MessageService.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TFolderChooserParts BuildFolderChooser(QDialog* dialog, const QString& shownFolder, QSize size)
{
    TFolderChooserParts p;
    p.Model = new QFileSystemModel(dialog);
    p.Model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    p.Model->setRootPath(QStringLiteral("/"));
    p.TreeFolders = new QTreeView;
    p.TreeFolders->setObjectName(QStringLiteral("TreeFolders"));
    p.TreeFolders->setModel(p.Model);
    p.TreeFolders->setHeaderHidden(true);
    for (int c = 1; c < p.Model->columnCount(); ++c)
        p.TreeFolders->hideColumn(c);
    p.EditPath = new QLineEdit;
    p.EditPath->setObjectName(QStringLiteral("EditPath"));
    auto* buttons = new QDialogButtonBox;
    p.ButtonOk = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    p.ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    p.ButtonOk->setDefault(true);
    p.ButtonCancel = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    p.ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(p.TreeFolders, 1);
    layout->addWidget(p.EditPath);
    layout->addWidget(buttons);
    dialog->resize(size);

    QLineEdit* edit = p.EditPath;
    QFileSystemModel* model = p.Model;
    QObject::connect(p.TreeFolders->selectionModel(), &QItemSelectionModel::currentChanged, dialog,
                     [edit, model](const QModelIndex& index) {
                         if (index.isValid())
                             edit->setText(QDir::toNativeSeparators(model->filePath(index)));
                     });
    QObject::connect(p.ButtonCancel, &QPushButton::clicked, dialog, &QDialog::reject);

    const QModelIndex start = p.Model->index(QDir::cleanPath(shownFolder));
    if (start.isValid()) {
        p.TreeFolders->setCurrentIndex(start);
        p.TreeFolders->scrollTo(start);
    }
    return p;
}

bool FolderExistsOrCreated(const QString& folder, const QString& failMessage)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (!Messages().Question(QStringLiteral("La carpeta no existe. ¿Desea crearla?")))
        return false;
    HourglassGuard hourglass;
    QDir().mkpath(folder);
    if (QFileInfo(folder).isDir())
        return true;
    Messages().Error(failMessage);
    return false;
}
