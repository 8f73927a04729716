// Setup's windows under the offscreen platform: the start dialog, the folder chooser, the
// background gradient.
#include "InstallerFixture.h"

#include "DriveProbe.h"
#include "FirstDialog.h"
#include "InstallPath.h"
#include "SetupMain.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// ctest picks the installer tests by this prefix.
using test_installer_Dialogs = InstallerTest;

TEST_F(test_installer_Dialogs, StartDialogShowsTheGameAndTheStoredOptions)
{
    TFormFirstDialog dialog(nullptr, {"MiJuego", "Mi Gran Juego", 0}, "/juegos/", {true, false});
    EXPECT_EQ(dialog.windowTitle(), "Setup");
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelTitle")->text(), "Instalación de Mi Gran Juego");
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelFolder")->text(),
              "La carpeta 'MiJuego' se creará en la ruta especificada.");
    QStringList groups;
    for (const QGroupBox* g : dialog.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{"Ruta de instalación", "Opciones"}));
    auto* shortcut = dialog.findChild<QCheckBox*>("CheckRegisterProgram");
    auto* uninstall = dialog.findChild<QCheckBox*>("CheckPrepareUninstall");
    EXPECT_EQ(shortcut->text(), "Crear acceso directo en \"Programas\" del menú Inicio.");
    EXPECT_EQ(uninstall->text(), "Incluir opción de desinstalación en \"Agregar o quitar programas\".");
    EXPECT_TRUE(dialog.Options().RegisterProgram);
    EXPECT_FALSE(dialog.Options().PrepareUninstall);
    EXPECT_EQ(dialog.findChild<QPushButton*>("ButtonStart")->text(), "Iniciar la instalación");
    EXPECT_EQ(dialog.findChild<QPushButton*>("ButtonCancel")->text(), "Cancelar");

    // A click on the path box asks for a folder; cancelling the chooser keeps the old one.
    EXPECT_EQ(dialog.BasePath(), "/juegos/");
    std::optional<QString> chosen = "/otros/";
    dialog.ChooseFolder = [&](const QString& current) {
        EXPECT_EQ(current, "/juegos/");
        return chosen;
    };
    dialog.findChild<QPushButton*>("PathBox")->click();
    EXPECT_EQ(dialog.BasePath(), "/otros/");
    chosen.reset();
    dialog.ChooseFolder = [&](const QString&) { return chosen; };
    dialog.PathBoxClick();
    EXPECT_EQ(dialog.BasePath(), "/otros/");
}

TEST_F(test_installer_Dialogs, FolderChooserEnablesOkOnlyForAbsolutePaths)
{
    TFormInstallPath chooser(nullptr, Path(""));
    EXPECT_EQ(chooser.windowTitle(), "Seleccionar ruta de instalación");
    auto* ok = chooser.findChild<QPushButton*>("ButtonOk");
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"/", false}, {"/a", false}, {"/ab", true}, {"abc", false},
        {"juegos/x", false}, {"/home/juegos", true}};
    for (const auto& [text, enabled] : cases) {
        chooser.SetEditText(text);
        EXPECT_EQ(ok->isEnabled(), enabled) << text;
    }
}

TEST_F(test_installer_Dialogs, FolderChooserChecksTheDriveAndOffersToCreate)
{
    FakeDriveProbe drives;
    drives.AddDrive(Path("floppy"), FakeDriveProbe::Kind::Floppy);
    drives.AddDrive(Path("cdrom"), FakeDriveProbe::Kind::CdRom);
    drives.AddDrive(Path("usb"), FakeDriveProbe::Kind::Fixed, false);
    SetDriveProbe(&drives);
    for (const char* root : {"floppy", "cdrom", "usb"})
        QDir().mkpath(Path(root));
    WriteFile(Path("archivo"), "a file where a folder is wanted");
    QDir().mkpath(Path("existe"));
    struct Case {
        QString text;
        QList<MessageAnswer> answers;
        QStringList shown;
        QString accepted; // empty: the chooser stays open
    };
    const QString noAccess = "No se puede acceder a la ruta especificada.";
    const QString create = "La carpeta no existe. ¿Desea crearla?";
    const Case cases[] = {
        {Path("existe"), {}, {}, Path("existe/")},
        {Path("existe/../existe/"), {}, {}, Path("existe/")},
        {Path("nueva/sub"), {MessageAnswer::Yes}, {create}, Path("nueva/sub/")},
        {Path("rechazada"), {MessageAnswer::No}, {create}, ""},
        {Path("archivo/sub"), {MessageAnswer::Yes}, {create, "No se ha creado la carpeta."}, ""},
        {Path("floppy/juegos"), {}, {noAccess}, ""},
        {Path("cdrom"), {}, {noAccess}, ""},
        {Path("usb/juegos"), {}, {"No está listo el dispositivo."}, ""},
    };
    for (const Case& c : cases) {
        TFormInstallPath chooser(nullptr, Path(""));
        messages.fake.shown.clear();
        messages.fake.answers = c.answers;
        chooser.SetEditText(c.text);
        chooser.ButtonOkClick();
        QStringList shown;
        for (const auto& s : messages.fake.shown)
            shown << s.text;
        EXPECT_EQ(shown, c.shown) << c.text.toStdString();
        EXPECT_EQ(chooser.result() == QDialog::Accepted, !c.accepted.isEmpty()) << c.text.toStdString();
        if (!c.accepted.isEmpty()) {
            EXPECT_EQ(chooser.Path(), c.accepted);
        }
    }
    EXPECT_FALSE(QFileInfo::exists(Path("rechazada")));
}

TEST_F(test_installer_Dialogs, BackgroundRunsFromDarkBlueToNearWhite)
{
    TFormSetupMain main({"Juego", "Juego", 0}, Path(""));
    main.resize(320, 640);
    const QImage image = main.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 0), QColor(0, 0, 128));
    EXPECT_EQ(image.pixelColor(10, 639), QColor(252, 252, 254));
    // Line 32 sits at y = 32 * 640 / 63 = 325.
    EXPECT_EQ(image.pixelColor(300, 325), QColor(128, 128, 192));
    EXPECT_EQ(main.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
}
