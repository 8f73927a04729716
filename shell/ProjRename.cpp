#include "ProjRename.h"

#include "MessageService.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
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
QLineEdit* field(const QString& caption, const QString& name, const QString& text, QVBoxLayout* layout,
                 QObject* owner)
{
    auto* box = new QGroupBox(caption);
    auto* e = new QLineEdit(text);
    e->setObjectName(name);
    e->setMaxLength(40);
    e->setValidator(new TCp1252Validator(owner));
    (new QVBoxLayout(box))->addWidget(e);
    layout->addWidget(box);
    return e;
}
} // namespace

TFormProjectRename::TFormProjectRename(QWidget* owner, const QString& base, const QString& folder,
                                       const QString& title)
    : TFormVudBase(owner), basePath(WithTrailingSeparator(base)), oldName(folder)
{
    setObjectName(QStringLiteral("FormProjectRename"));
    setWindowTitle(QStringLiteral("Cambiar nombre"));
    auto* layout = new QVBoxLayout(this);
    EditFolder = field(QStringLiteral("Nombre de la carpeta"), QStringLiteral("EditFolder"), folder, layout, this);
    EditTitle = field(QStringLiteral("Título del juego"), QStringLiteral("EditTitle"), title, layout, this);
    auto* buttons = new QDialogButtonBox;
    ButtonOk = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    layout->addWidget(buttons);
    setFixedWidth(320);
    connect(ButtonOk, &QPushButton::clicked, this, &TFormProjectRename::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFormProjectRename::FolderName() const
{
    return EditFolder->text();
}

QString TFormProjectRename::GameTitle() const
{
    return EditTitle->text();
}

void TFormProjectRename::ButtonOkClick()
{
    const QString name = FolderName();
    if (HasForbiddenCharacter(name)) {
        Messages().Error(QStringLiteral("El nombre de la carpeta contiene caracteres no válidos."));
        return;
    }
    if (name != oldName) {
        // rename() would silently replace an empty folder of that name: refuse any existing one.
        const QString target = basePath + name;
        if (!IsProjectFolderName(name) || QFileInfo::exists(target) ||
            !QDir().rename(basePath + oldName, target)) {
            Messages().Error(QStringLiteral("No se puede cambiar el nombre de la carpeta del proyecto."));
            return;
        }
    }
    WriteGameTitle(basePath + name, GameTitle());
    accept();
}
