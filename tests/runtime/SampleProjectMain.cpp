// Writes the sample project for the screenshots:
//   runtime_sample_project <empty folder> [program folder]
// then, in that folder, e.g.
//   TFPLAY_SCREENSHOT=map.png TFPLAY_EXIT_AFTER_MS=1500 ./TFPLAY.exe TestPlay HideTitle Window
#include "SampleProject.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: runtime_sample_project <folder> [program folder]\n");
        return 2;
    }
    const QString program = args.size() > 2 ? args[2] : QStringLiteral(TF_PROGRAM_DIR);
    QString error;
    if (!MakeSampleProject(QDir(args[1]).absolutePath(), program, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
