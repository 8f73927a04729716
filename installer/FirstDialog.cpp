#include "FirstDialog.h"

#include "DialogPlacement.h"
#include "InstallPath.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TInstallPathBox::TInstallPathBox(QWidget* parent) : QPushButton(parent)
{
    setObjectName(QStringLiteral("PathBox"));
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("text-align: left; padding: 3px 6px;"));
    setMinimumWidth(320);
}

void TInstallPathBox::SetPath(const QString& p)
{
    path = p;
    setToolTip(QDir::toNativeSeparators(p));
    updateText();
}

void TInstallPathBox::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    updateText();
}

void TInstallPathBox::updateText()
{
    // Long paths lose their middle, so both ends stay readable.
    setText(fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle,
                                     std::max(40, width() - 14)));
}

TFormFirstDialog::TFormFirstDialog(QWidget* owner, const TSetupSettings& settings,
                                   const QString& basePath, const TInstallOptions& options)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("FormFirstDialog"));
    setWindowTitle(QStringLiteral("Setup"));
    LabelTitle = new QLabel(QStringLiteral("Instalación de %1").arg(settings.GameTitle));
    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    LabelTitle->setTextFormat(Qt::PlainText);
    QFont big = LabelTitle->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    LabelTitle->setFont(big);
    LabelFolder = new QLabel(
        QStringLiteral("La carpeta '%1' se creará en la ruta especificada.").arg(settings.ProjectName));
    LabelFolder->setObjectName(QStringLiteral("LabelFolder"));
    LabelFolder->setTextFormat(Qt::PlainText);

    PathBox = new TInstallPathBox;
    PathBox->SetPath(basePath);
    auto* pathGroup = new QGroupBox(QStringLiteral("Ruta de instalación"));
    (new QVBoxLayout(pathGroup))->addWidget(PathBox);

    CheckRegisterProgram =
        new QCheckBox(QStringLiteral("Crear acceso directo en \"Programas\" del menú Inicio."));
    CheckRegisterProgram->setObjectName(QStringLiteral("CheckRegisterProgram"));
    CheckRegisterProgram->setChecked(options.RegisterProgram);
    CheckPrepareUninstall = new QCheckBox(
        QStringLiteral("Incluir opción de desinstalación en \"Agregar o quitar programas\"."));
    CheckPrepareUninstall->setObjectName(QStringLiteral("CheckPrepareUninstall"));
    CheckPrepareUninstall->setChecked(options.PrepareUninstall);
    auto* optionGroup = new QGroupBox(QStringLiteral("Opciones"));
    auto* optionLayout = new QVBoxLayout(optionGroup);
    optionLayout->addWidget(CheckRegisterProgram);
    optionLayout->addWidget(CheckPrepareUninstall);

    ButtonStart = new QPushButton(QStringLiteral("Iniciar la instalación"));
    ButtonStart->setObjectName(QStringLiteral("ButtonStart"));
    ButtonStart->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Cancelar"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonStart);
    buttons->addWidget(ButtonCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelTitle);
    layout->addWidget(LabelFolder);
    layout->addSpacing(6);
    layout->addWidget(pathGroup);
    layout->addWidget(optionGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(PathBox, &QPushButton::clicked, this, &TFormFirstDialog::PathBoxClick);
    connect(ButtonStart, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    ChooseFolder = [this](const QString& current) -> std::optional<QString> {
        TFormInstallPath chooser(this, current);
        if (chooser.exec() != QDialog::Accepted)
            return std::nullopt;
        return chooser.Path();
    };
    adjustSize();
    PlaceDialog(this, owner);
}

TInstallOptions TFormFirstDialog::Options() const
{
    return {CheckRegisterProgram->isChecked(), CheckPrepareUninstall->isChecked()};
}

void TFormFirstDialog::PathBoxClick()
{
    if (const std::optional<QString> chosen = ChooseFolder(PathBox->Path()))
        PathBox->SetPath(*chosen);
}
