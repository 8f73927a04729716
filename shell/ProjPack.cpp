#include "ProjPack.h"

#include "DriveProbe.h"
#include "FileCopier.h"
#include "Hourglass.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "ProjDiskPath.h"
#include "ProjPackCore.h"
#include "ProjPathBox.h"
#include "Settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace {
const char* const kCompleted = "Creación de la instalación del juego completada.";
const char* const kInterrupted = "Creación de la instalación del juego interrumpida.";
} // namespace

QString DefaultPackDestination(const QStringList& driveRoots)
{
    for (const QString& root : driveRoots) {
        if (Drives().IsFloppy(root))
            return WithTrailingSeparator(root);
    }
    return WithTrailingSeparator(QDir::homePath());
}

QStringList MountedDriveRoots()
{
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        roots << v.rootPath();
    roots.sort();
    return roots;
}

TFormProjectPack::TFormProjectPack(QWidget* owner, const QString& projectFolder)
    : TFormVudBase(owner), project(WithTrailingSeparator(projectFolder))
{
    setObjectName(QStringLiteral("FormProjectPack"));
    setWindowTitle(QStringLiteral("Crear Instalación"));
    PathBox = new TPathBox;
    CheckIncludeRtp = new QCheckBox(QStringLiteral("Incluir RTP (Runtime Package Path) en la instalación "));
    CheckIncludeRtp->setObjectName(QStringLiteral("CheckIncludeRtp"));

    auto* group = new QGroupBox(QStringLiteral("Ruta de Destino"));
    group->setObjectName(QStringLiteral("GroupDestination"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(PathBox);

    auto* buttons = new QDialogButtonBox;
    ButtonStart = buttons->addButton(QStringLiteral("Comenzar"), QDialogButtonBox::AcceptRole);
    ButtonStart->setObjectName(QStringLiteral("ButtonStart"));
    ButtonStart->setDefault(true);
    ButtonCancel = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(CheckIncludeRtp);
    layout->addWidget(buttons);
    setFixedWidth(420);

    connect(PathBox, &QPushButton::clicked, this, &TFormProjectPack::PathBoxClick);
    connect(ButtonStart, &QPushButton::clicked, this, &TFormProjectPack::ButtonStartClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormProjectPack::showEvent(QShowEvent* event)
{
    if (!shown) {
        shown = true;
        FormShow();
    }
    TFormVudBase::showEvent(event);
}

void TFormProjectPack::FormShow()
{
    if (destination.isEmpty())
        SetDestination(DefaultPackDestination(MountedDriveRoots()));
    CheckIncludeRtp->setChecked(ReadIncludeRtpOption());
}

void TFormProjectPack::SetDestination(const QString& folder)
{
    destination = WithTrailingSeparator(folder);
    PathBox->SetPath(destination);
}

void TFormProjectPack::PathBoxClick()
{
    TFormProjectDiskPath dialog(this, destination);
    if (dialog.exec() == QDialog::Accepted)
        SetDestination(dialog.Path());
}

void TFormProjectPack::ButtonStartClick()
{
    const bool includeRtp = CheckIncludeRtp->isChecked();
    WriteIncludeRtpOption(includeRtp);
    // Refused before anything is touched: Setup would end silently on such a disk.
    const QString titleProblem = GamePackTitleProblem(project);
    if (!titleProblem.isEmpty()) {
        Messages().Error(titleProblem);
        return;
    }
    TGamePacker packer({project, destination, includeRtp, RuntimePackagePath(), ProgramFolder()});
    packer.Unlha = LoadUnlha(ProgramFolder());
    packer.Copy = [this](const QStringList& from, const QStringList& to, QString& failed) {
        FileCopier copier(parentWidget());
        copier.Progress = CopyProgress;
        const bool ok = copier.Copy(from, to);
        failed = copier.FailedFile();
        return ok;
    };
    packer.AskDisk = [](int disk) {
        return Messages().Show(MessageIcon::Information,
                               QStringLiteral("Por favor, inserte el disco %1 previamente formateado.").arg(disk),
                               MessageButtons::OkCancel) == MessageAnswer::Ok;
    };
    packer.TellDiskCount = [](int count) {
        Messages().Information(QStringLiteral("Se necesitan %1 disquetes de 1.44 MB.").arg(count));
    };
    bool complete = false;
    // Hiding a dialog ends its exec(): it stays, disabled, under the prompts and the progress.
    setEnabled(false);
    {
        HourglassGuard hourglass;
        complete = packer.Run();
    }
    setEnabled(true);
    if (complete) {
        Messages().Information(QString::fromUtf8(kCompleted));
        accept();
        return;
    }
    if (!packer.Error().isEmpty())
        Messages().Error(packer.Error());
    Messages().Error(QString::fromUtf8(kInterrupted));
}
