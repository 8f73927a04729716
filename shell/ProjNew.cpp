#include "ProjNew.h"

#include "MessageService.h"
#include "ProjBasePath.h"
#include "ProjManager.h"
#include "ProjPathBox.h"
#include "Settings.h"
#include "TextCodec.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QGroupBox* group(const QString& title, QWidget* content, const QString& name)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QLineEdit* edit(const QString& name, QObject* owner)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaxLength(40);
    e->setValidator(new TCp1252Validator(owner));
    return e;
}
} // namespace

TFormProjectNew::TFormProjectNew(QWidget* owner) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProjectNew"));
    setWindowTitle(QStringLiteral("Crear Nuevo Proyecto"));
    basePath = ReadProjectBasePath();
    EditFolder = edit(QStringLiteral("EditFolder"), this);
    EditTitle = edit(QStringLiteral("EditTitle"), this);
    PathBox = new TPathBox;
    PathBox->SetPath(basePath);

    auto* buttons = new QDialogButtonBox;
    ButtonOk = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));

    auto* top = new QHBoxLayout;
    top->addWidget(group(QStringLiteral("Carpeta"), EditFolder, QStringLiteral("GroupFolder")));
    top->addWidget(group(QStringLiteral("Título"), EditTitle, QStringLiteral("GroupTitle")));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group(QStringLiteral("Ruta del Proyecto"), PathBox, QStringLiteral("GroupPath")));
    layout->addWidget(buttons);
    setFixedWidth(440);

    connect(ButtonOk, &QPushButton::clicked, this, &TFormProjectNew::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(PathBox, &QPushButton::clicked, this, &TFormProjectNew::PathBoxClick);
}

QString TFormProjectNew::FolderName() const
{
    return EditFolder->text();
}

QString TFormProjectNew::GameTitle() const
{
    return EditTitle->text();
}

void TFormProjectNew::showEvent(QShowEvent* event)
{
    if (!shown) {
        shown = true;
        FormShow();
    }
    TFormVudBase::showEvent(event);
}

void TFormProjectNew::FormShow()
{
    EditFolder->setText(ProposeProjectFolderName(basePath));
    EditTitle->setText(QStringLiteral("Sin Título"));
    PathBox->SetPath(basePath);
    EditFolder->setFocus();
    EditFolder->selectAll();
}

void TFormProjectNew::PathBoxClick()
{
    TFormProjectBasePath dialog(this, basePath);
    if (dialog.exec() != QDialog::Accepted)
        return;
    basePath = dialog.Path();
    WriteProjectBasePath(basePath);
    PathBox->SetPath(basePath);
}

void TFormProjectNew::ButtonOkClick()
{
    const QString name = FolderName();
    if (HasForbiddenCharacter(name)) {
        Messages().Error(QStringLiteral("El nombre de la carpeta contiene caracteres no válidos."));
        return;
    }
    // One level only: the base folder must exist, and an existing folder is not taken over.
    const QString path = basePath + name;
    if (!IsProjectFolderName(name) || QFileInfo::exists(path) || !QDir().mkdir(path)) {
        Messages().Error(QStringLiteral("No se puede crear la carpeta del proyecto."));
        return;
    }
    WriteProjectBasePath(basePath);
    accept();
}
