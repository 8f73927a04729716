// Shows the open-project dialog over three sample projects and saves a picture of it.
// Usage: shell_screenshot <output.png>   (every folder it writes lies in a temporary sandbox)
#include "ProgramFolder.h"
#include "ProjOpen.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: shell_screenshot <output.png>\n");
        return 2;
    }
    QApplication app(argc, argv);
    // Opening and closing projects moves the current directory.
    const QString out = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir sandbox;
    const QString root = sandbox.path();
    SetProgramFolderForTests(root + "/program");
    RegistryStore::SetRootForTests(root + "/registry");
    SetScratchParentForTests(root);
    ResetScratchFolder();
    WriteTemplates(root + "/program");
    QDir().mkpath(root + "/Proyectos");
    WriteProjectBasePath(root + "/Proyectos");
    MakeProject("Aldea", "La aldea del valle");
    MakeProject("Bosque", "El bosque encantado");
    MakeProject("Castillo", QStringLiteral("Castillo de Ámbar"));

    TFormProjectOpen form;
    form.show();
    int status = 1;
    QTimer::singleShot(500, [&] {
        status = form.grab().save(out) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return status;
}
