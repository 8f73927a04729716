#include "DriveProbe.h"
#include "MessageService.h"
#include "ProjBasePath.h"
#include "ProjManager.h"
#include "ProjNew.h"
#include "ProjOpen.h"
#include "ProjRename.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "TestSandbox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace {
template <class T = QWidget>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QStringList groupTitles(QWidget* w)
{
    QStringList titles;
    for (auto* g : w->findChildren<QGroupBox*>())
        titles << g->title();
    return titles;
}

// Runs `step` on the next modal dialog that opens.
void onModal(std::function<void(QWidget*)> step)
{
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        step(modal);
    });
}

class DialogTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        base = Path("projects/");
        QDir().mkpath(base);
        WriteProjectBasePath(base);
        WriteTemplates(Path("program"));
        ASSERT_TRUE(ResetScratchFolder());
        SetMessageService(&messages);
    }
    QStringList Shown() const
    {
        QStringList texts;
        for (const auto& s : messages.shown)
            texts << s.text;
        return texts;
    }
    QString base;
    ScriptedMessageService messages;
};

TEST_F(DialogTest, NewProjectProposesRefusesAndCreates)
{
    QDir().mkdir(base + "Proyecto1");
    QDir().mkdir(base + "Proyecto2");
    TFormProjectNew form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Crear Nuevo Proyecto");
    EXPECT_EQ(groupTitles(&form), QStringList({"Carpeta", QStringLiteral("Título"), "Ruta del Proyecto"}));
    auto* folder = child<QLineEdit>(&form, "EditFolder");
    auto* title = child<QLineEdit>(&form, "EditTitle");
    EXPECT_EQ(folder->text(), "Proyecto3");
    EXPECT_EQ(title->text(), QStringLiteral("Sin Título"));
    EXPECT_EQ(folder->maxLength(), 40);
    EXPECT_EQ(title->maxLength(), 40);
    EXPECT_EQ(child<QPushButton>(&form, "PathBox")->toolTip(), base);

    const QStringList before = QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const char* bad : {"Mi/Juego", "Mi\"Juego"}) {
        folder->setText(bad);
        form.ButtonOkClick();
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Shown(), QStringList(2, QStringLiteral("El nombre de la carpeta contiene caracteres no válidos.")));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before) << "nothing created";

    for (const char* taken : {"Proyecto1", ""}) {
        folder->setText(taken);
        form.ButtonOkClick();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(Shown().last(), QStringLiteral("No se puede crear la carpeta del proyecto."));
    }
    folder->setText("Aventura");
    form.ButtonOkClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo(base + "Aventura").isDir());
    EXPECT_EQ(form.FolderName(), "Aventura");
}

TEST_F(DialogTest, TitleFieldsOnlyTakeWindows1252Text)
{
    TFormProjectNew form;
    form.show();
    auto* title = child<QLineEdit>(&form, "EditTitle");
    title->clear();
    title->insert(QStringLiteral("Ω"));
    title->insert(QStringLiteral("Año €"));
    EXPECT_EQ(title->text(), QStringLiteral("Año €"));
}

TEST_F(DialogTest, ManagerRunsTheNewDialogAndCreatesTheProject)
{
    TEditorHarness editor;
    TProjectManager manager(nullptr);
    editor.Connect(manager);
    onModal([](QWidget* dialog) {
        child<QLineEdit>(dialog, "EditTitle")->setText("Mi juego");
        child<QPushButton>(dialog, "ButtonOk")->click();
    });
    manager.ShowNewProjectDialog();
    EXPECT_TRUE(manager.Opened());
    EXPECT_EQ(manager.ProjectFolderName(), "Proyecto1");
    EXPECT_EQ(ReadGameTitle(base + "Proyecto1"), "Mi juego");
    manager.CloseProject();
}

class OpenDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MakeProject("Bosque", "El bosque");
        MakeProject("Castillo", QStringLiteral("Castillo de Ámbar"));
        MakeProject("Aldea", "La aldea");
        WriteFile("projects/SoloDatos/TFPLAY.ldb");
    }
    QStringList Listed(QWidget* form)
    {
        QStringList names;
        auto* list = child<QTreeWidget>(form, "ListProjects");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
        return names;
    }
};

TEST_F(OpenDialogTest, ListsProjectsAndOpensTheSelectedOne)
{
    TFormProjectOpen form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Abrir proyecto");
    EXPECT_EQ(groupTitles(&form), QStringList({"Lista de proyectos", "Ruta del proyecto"}));
    auto* list = child<QTreeWidget>(&form, "ListProjects");
    EXPECT_EQ(list->headerItem()->text(0), "Nombre de la carpeta");
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Título del juego"));
    EXPECT_EQ(child<QPushButton>(&form, "ButtonOpen")->text(), "&Abrir");
    EXPECT_EQ(child<QPushButton>(&form, "ButtonCancel")->text(), "Cancelar");
    EXPECT_EQ(child<QPushButton>(&form, "ButtonRename")->text(), "Cambia&r nombre...");
    EXPECT_EQ(child<QPushButton>(&form, "ButtonDelete")->text(), "&Eliminar...");
    EXPECT_EQ(Listed(&form), QStringList({"Aldea|La aldea", "Bosque|El bosque",
                                          QStringLiteral("Castillo|Castillo de Ámbar")}));
    EXPECT_EQ(list->currentItem()->text(0), "Aldea");
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());

    list->clearSelection();
    form.ButtonOpenClick();
    EXPECT_TRUE(form.isVisible()) << "nothing selected: nothing happens";
    list->setCurrentItem(list->topLevelItem(2));
    form.ButtonOpenClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.FolderName(), "Castillo");
}

TEST_F(OpenDialogTest, DeleteAsksFirst)
{
    TFormProjectOpen form;
    form.show();
    auto* list = child<QTreeWidget>(&form, "ListProjects");
    list->setCurrentItem(list->topLevelItem(1));
    messages.answers = {MessageAnswer::No};
    form.ButtonDeleteClick();
    EXPECT_TRUE(QFileInfo::exists(base + "Bosque"));
    messages.answers = {MessageAnswer::Yes};
    form.ButtonDeleteClick();
    EXPECT_FALSE(QFileInfo::exists(base + "Bosque"));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("Se va a eliminar el proyecto 'Bosque'. Un proyecto eliminado luego no "
                             "se puede recuperar. ¿Eliminar realmente?"));
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Listed(&form).size(), 2);
}

TEST_F(OpenDialogTest, RenameFromTheListSelectsTheNewName)
{
    TFormProjectOpen form;
    form.show();
    auto* list = child<QTreeWidget>(&form, "ListProjects");
    list->setCurrentItem(list->topLevelItem(0));
    onModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Cambiar nombre");
        EXPECT_EQ(child<QLineEdit>(dialog, "EditFolder")->text(), "Aldea");
        EXPECT_EQ(child<QLineEdit>(dialog, "EditTitle")->text(), "La aldea");
        child<QLineEdit>(dialog, "EditFolder")->setText("Zona");
        child<QPushButton>(dialog, "ButtonOk")->click();
    });
    form.ButtonRenameClick();
    EXPECT_TRUE(QFileInfo::exists(base + "Zona/TFPLAY.exe"));
    EXPECT_EQ(list->currentItem()->text(0), "Zona");
}

TEST_F(OpenDialogTest, RenameRules)
{
    {   // Only the title: the ini changes, the folder stays.
        TFormProjectRename form(nullptr, base, "Bosque", "El bosque");
        form.show();
        child<QLineEdit>(&form, "EditTitle")->setText("Bosque oscuro");
        form.ButtonOkClick();
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(ReadGameTitle(base + "Bosque"), "Bosque oscuro");
        EXPECT_EQ(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 4);
    }
    const struct {
        const char* name;
        const char* message;
    } refused[] = {
        {"Cas:tillo", "El nombre de la carpeta contiene caracteres no válidos."},
        {"Aldea", "No se puede cambiar el nombre de la carpeta del proyecto."},
        {"", "No se puede cambiar el nombre de la carpeta del proyecto."},
        {"..", "No se puede cambiar el nombre de la carpeta del proyecto."},
    };
    for (const auto& r : refused) {
        TFormProjectRename form(nullptr, base, "Castillo", "C");
        form.show();
        child<QLineEdit>(&form, "EditFolder")->setText(r.name);
        form.ButtonOkClick();
        EXPECT_TRUE(form.isVisible()) << r.name;
        EXPECT_EQ(Shown().last(), QString::fromUtf8(r.message)) << r.name;
        EXPECT_TRUE(QFileInfo::exists(base + "Castillo/TFPLAY.exe"));
        EXPECT_EQ(ReadGameTitle(base + "Aldea"), "La aldea");
    }
}

TEST_F(DialogTest, BasePathOkOnlyForAnExistingAbsoluteFolder)
{
    TFormProjectBasePath form(nullptr, base);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Ruta de Proyecto");
    auto* ok = child<QPushButton>(&form, "ButtonOk");
    EXPECT_EQ(child<QLineEdit>(&form, "EditPath")->maxLength(), 250);
    const struct {
        QString text;
        bool enabled;
    } cases[] = {{base, true}, {base.chopped(1), true}, {"projects", false},
                 {Path("nowhere"), false}, {"", false}, {Path("projects/../projects"), true}};
    for (const auto& c : cases) {
        form.SetEditText(c.text);
        EXPECT_EQ(ok->isEnabled(), c.enabled) << c.text.toStdString();
    }
    form.SetEditText(Path("projects/../projects"));
    form.ButtonOkClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Path(), base);
}

TEST_F(DialogTest, BasePathRefusesRemovableAndMissingDrives)
{
    FakeDriveProbe drives;
    QDir().mkpath(Path("floppy/GAME"));
    QDir().mkpath(Path("cdrom"));
    QDir().mkpath(Path("usb"));
    drives.AddDrive(Path("floppy"), FakeDriveProbe::Kind::Floppy);
    drives.AddDrive(Path("cdrom"), FakeDriveProbe::Kind::CdRom);
    drives.AddDrive(Path("usb"), FakeDriveProbe::Kind::Fixed, false);
    SetDriveProbe(&drives);
    const struct {
        QString path;
        const char* message;
    } cases[] = {{Path("floppy"), "No se puede establecer la ruta especificada."},
                 {Path("floppy/GAME"), "No se puede establecer la ruta especificada."},
                 {Path("cdrom"), "No se puede establecer la ruta especificada."},
                 {Path("usb"), "El dispositivo no está listo."}};
    for (const auto& c : cases) {
        TFormProjectBasePath form(nullptr, c.path);
        form.show();
        form.ButtonOkClick();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(Shown().last(), QString::fromUtf8(c.message)) << c.path.toStdString();
        EXPECT_EQ(messages.shown.last().icon, MessageIcon::Error);
    }
}

TEST_F(DialogTest, BasePathThatVanishedCanBeCreatedAgain)
{
    QDir().mkpath(Path("gone/deep"));
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        TFormProjectBasePath form(nullptr, Path("gone/deep"));
        form.show();
        QDir(Path("gone")).removeRecursively();
        messages.answers = {answer};
        form.ButtonOkClick();
        EXPECT_EQ(Shown().last(), QStringLiteral("La carpeta no existe. ¿Desea crearla?"));
        EXPECT_EQ(messages.shown.last().buttons, MessageButtons::YesNo);
        EXPECT_EQ(form.isVisible(), answer == MessageAnswer::No);
        EXPECT_EQ(QFileInfo(Path("gone/deep")).isDir(), answer == MessageAnswer::Yes);
    }
}

TEST_F(OpenDialogTest, ChangingTheBaseFolderRebuildsTheList)
{
    QDir().mkpath(Path("otros/Uno"));
    WriteFile("otros/Uno/TFPLAY.exe");
    TFormProjectOpen form;
    form.show();
    onModal([this](QWidget* dialog) {
        child<QLineEdit>(dialog, "EditPath")->setText(Path("otros"));
        child<QPushButton>(dialog, "ButtonOk")->click();
    });
    form.PathBoxClick();
    EXPECT_EQ(Listed(&form), QStringList({"Uno|Untitled"}));
    EXPECT_EQ(ReadProjectBasePath(), Path("otros/"));
}
} // namespace
