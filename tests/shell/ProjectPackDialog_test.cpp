#include "ProjectPackFixture.h"

#include "MessageService.h"
#include "ProjPack.h"
#include "ProjPathBox.h"
#include "ScratchFolder.h"
#include "Settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace {
class PackDialogTest : public PackTest {
protected:
    QStringList texts() const
    {
        QStringList t;
        for (const auto& s : messages.fake.shown)
            t << s.text;
        return t;
    }
    ScopedMessageService messages;
};
} // namespace

TEST_F(PackDialogTest, DefaultDestinationIsTheFirstFloppyDriveElseTheHomeFolder)
{
    drives.AddDrive(Path("a"), FakeDriveProbe::Kind::Fixed);
    drives.AddDrive(Path("b"), FakeDriveProbe::Kind::Floppy);
    drives.AddDrive(Path("c"), FakeDriveProbe::Kind::Floppy);
    EXPECT_EQ(DefaultPackDestination({Path("a"), Path("b"), Path("c")}), Path("b/"));
    EXPECT_EQ(DefaultPackDestination({Path("a")}), QDir::homePath() + '/');
    EXPECT_EQ(DefaultPackDestination({}), QDir::homePath() + '/');
}

TEST_F(PackDialogTest, StartPacksWithTheOptionAndStoresIt)
{
    MakeRuntimePackage();
    WriteIncludeRtpOption(false);
    TFormProjectPack dialog(nullptr, project);
    dialog.show();
    auto* check = dialog.findChild<QCheckBox*>("CheckIncludeRtp");
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), QStringLiteral("Incluir RTP (Runtime Package Path) en la instalación "));
    EXPECT_FALSE(check->isChecked());
    check->setChecked(true);
    dialog.SetDestination(Path("disk"));
    EXPECT_EQ(dialog.findChild<TPathBox*>("PathBox")->Path(), Path("disk/"));
    dialog.CopyProgress = [](qint64, qint64) { return true; };
    dialog.findChild<QPushButton*>("ButtonStart")->click();

    EXPECT_EQ(texts(), QStringList({QStringLiteral("Creación de la instalación del juego completada.")}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ReadIncludeRtpOption());
    EXPECT_TRUE(ArchiveNames(Path("disk/Game.lzh")).contains("System/frame.png"));
    EXPECT_FALSE(FlagInProject());
}

TEST_F(PackDialogTest, CancelledCopyEndsInterruptedAndTheDialogStays)
{
    TFormProjectPack dialog(nullptr, project);
    dialog.show();
    dialog.SetDestination(Path("disk"));
    dialog.CopyProgress = [](qint64, qint64) { return false; };
    dialog.ButtonStartClick();
    EXPECT_EQ(texts(), QStringList({QStringLiteral("Creación de la instalación del juego interrumpida.")}));
    EXPECT_EQ(messages.fake.shown.last().icon, MessageIcon::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(StagingExists());
}

TEST_F(PackDialogTest, EmptyTitleIsRefusedBeforeAnythingIsTouched)
{
    WriteGameTitle(project, QString());
    TFormProjectPack dialog(nullptr, project);
    dialog.show();
    dialog.SetDestination(Path("disk"));
    dialog.ButtonStartClick();
    ASSERT_EQ(messages.fake.shown.size(), 1);
    EXPECT_EQ(messages.fake.shown[0].text, GamePackTitleProblem(project));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(Path("disk")));
}

TEST_F(PackDialogTest, FloppyCountAndDiskPromptsAreShownAsBoxes)
{
    WriteFile("projects/Game/Movie/intro.avi", NoiseBytes(700000, 3));
    const QString floppy = Path("floppy");
    QDir().mkpath(floppy);
    drives.AddDrive(floppy, FakeDriveProbe::Kind::Floppy);
    messages.fake.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Cancel};
    TFormProjectPack dialog(nullptr, project);
    dialog.show();
    dialog.SetDestination(floppy);
    dialog.CopyProgress = [](qint64, qint64) { return true; };
    dialog.ButtonStartClick();
    EXPECT_EQ(texts(), QStringList({QStringLiteral("Se necesitan 2 disquetes de 1.44 MB."),
                                    QStringLiteral("Por favor, inserte el disco 1 previamente formateado."),
                                    QStringLiteral("Por favor, inserte el disco 2 previamente formateado."),
                                    QStringLiteral("Creación de la instalación del juego interrumpida.")}));
    EXPECT_EQ(messages.fake.shown[1].buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(FlagInProject());
}
