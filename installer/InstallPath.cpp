#include "InstallPath.h"

#include "DialogPlacement.h"
#include "DriveProbe.h"
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

TFormInstallPath::TFormInstallPath(QWidget* owner, const QString& initial) : QDialog(owner)
{
    setObjectName(QStringLiteral("FormInstallPath"));
    setWindowTitle(QStringLiteral("Seleccionar ruta de instalación"));
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
    resize(380, 420);

    connect(EditPath, &QLineEdit::textChanged, this, &TFormInstallPath::EditPathChange);
    connect(TreeFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid())
                    EditPath->setText(QDir::toNativeSeparators(model->filePath(index)));
            });
    connect(ButtonOk, &QPushButton::clicked, this, &TFormInstallPath::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Show the nearest folder that exists; the text keeps the path as given.
    QString shown = QDir::cleanPath(initial);
    while (!shown.isEmpty() && shown != QLatin1String("/") && !QFileInfo(shown).isDir())
        shown = QFileInfo(shown).absolutePath();
    const QModelIndex start = model->index(shown);
    if (start.isValid()) {
        TreeFolders->setCurrentIndex(start);
        TreeFolders->scrollTo(start);
    }
    SetEditText(QDir::toNativeSeparators(initial));
    PlaceDialog(this, owner);
}

void TFormInstallPath::SetEditText(const QString& text)
{
    EditPath->setText(text);
    EditPathChange();
}

bool TFormInstallPath::WellFormedPath(const QString& text)
{
    return text.size() >= 3 && QDir::isAbsolutePath(QDir::fromNativeSeparators(text));
}

void TFormInstallPath::EditPathChange()
{
    ButtonOk->setEnabled(WellFormedPath(EditPath->text()));
}

void TFormInstallPath::ButtonOkClick()
{
    if (!WellFormedPath(EditPath->text()))
        return;
    const QString full = WithTrailingSeparator(
        QDir::cleanPath(QDir(QDir::fromNativeSeparators(EditPath->text())).absolutePath()));
    const DriveProbe& drives = Drives();
    if (drives.IsFloppy(full) || drives.IsCdRom(full) || !QFileInfo(drives.DriveRoot(full)).isDir()) {
        Messages().Error(QStringLiteral("No se puede acceder a la ruta especificada."));
        return;
    }
    if (!drives.IsReady(full)) {
        Messages().Error(QStringLiteral("No está listo el dispositivo."));
        return;
    }
    if (!QFileInfo(full).isDir()) {
        if (!Messages().Question(QStringLiteral("La carpeta no existe. ¿Desea crearla?")))
            return;
        QDir().mkpath(full);
        if (!QFileInfo(full).isDir()) {
            Messages().Error(QStringLiteral("No se ha creado la carpeta."));
            return;
        }
    }
    path = full;
    accept();
}
