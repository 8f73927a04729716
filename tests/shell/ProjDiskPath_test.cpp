#include "DriveProbe.h"
#include "MessageService.h"
#include "ProjDiskPath.h"
#include "TestSandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {
class DiskPathTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        QDir().mkpath(Path("floppy/sub"));
        QDir().mkpath(Path("cdrom"));
        QDir().mkpath(Path("hd/games"));
        drives.AddDrive(Path("floppy"), FakeDriveProbe::Kind::Floppy);
        drives.AddDrive(Path("cdrom"), FakeDriveProbe::Kind::CdRom);
        drives.AddDrive(Path("hd"), FakeDriveProbe::Kind::Fixed);
        drives.AddDrive(Path("gone"), FakeDriveProbe::Kind::Fixed, false);
        SetDriveProbe(&drives);
    }
    FakeDriveProbe drives;
    ScopedMessageService messages;
};
} // namespace

TEST_F(DiskPathTest, OkNeedsAnAbsolutePath)
{
    TFormProjectDiskPath dialog(nullptr, Path("hd"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ruta de Cración del Disco de Juego"));
    auto* edit = dialog.findChild<QLineEdit*>("EditPath");
    auto* ok = dialog.findChild<QPushButton*>("ButtonOk");
    EXPECT_EQ(edit->maxLength(), 250);
    for (const auto& [text, enabled] : {std::pair{Path("hd"), true}, {QString("hd/games"), false},
                                        {QString(), false}, {QString("/"), true}}) {
        dialog.SetEditText(text);
        EXPECT_EQ(ok->isEnabled(), enabled) << text.toStdString();
    }
}

TEST_F(DiskPathTest, FloppyRootOnlyNoCdRomReadyDrivesAndMissingFoldersOnRequest)
{
    const QString cannotSet = QStringLiteral("No se puede establecer la ruta especificada.");
    const struct {
        QString text;
        MessageAnswer answer; // to the create question
        QString accepted;     // empty: refused
        QString message;
    } cases[] = {
        {Path("floppy"), MessageAnswer::No, Path("floppy/"), {}},
        {Path("floppy/sub"), MessageAnswer::No, {}, cannotSet},
        {Path("cdrom"), MessageAnswer::No, {}, cannotSet},
        {Path("gone/x"), MessageAnswer::Yes, {}, QStringLiteral("El dispositivo no está listo.")},
        {Path("hd/games/"), MessageAnswer::No, Path("hd/games/"), {}},
        {Path("hd/new/deep"), MessageAnswer::Yes, Path("hd/new/deep/"),
         QStringLiteral("La carpeta no existe. ¿Desea crearla?")},
        {Path("hd/other"), MessageAnswer::No, {}, QStringLiteral("La carpeta no existe. ¿Desea crearla?")},
    };
    for (const auto& c : cases) {
        messages.fake.shown.clear();
        messages.fake.answers = {c.answer};
        TFormProjectDiskPath dialog(nullptr, Path("hd"));
        dialog.SetEditText(c.text);
        dialog.ButtonOkClick();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, !c.accepted.isEmpty()) << c.text.toStdString();
        EXPECT_EQ(dialog.Path(), c.accepted) << c.text.toStdString();
        const QString shown = messages.fake.shown.isEmpty() ? QString() : messages.fake.shown[0].text;
        EXPECT_EQ(shown, c.message) << c.text.toStdString();
    }
    EXPECT_TRUE(QFileInfo(Path("hd/new/deep")).isDir());
    EXPECT_FALSE(QFileInfo::exists(Path("hd/other")));
}
