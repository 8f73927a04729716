// sweeper.exe: started from the uninstall entry with the path of the game's TFPLAY.ind.
#include "Sweeper.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    // No argument: nothing to do, and no display needed.
    if (argc < 2)
        return 0;
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    return SweeperRun(args, [](const QString& caption, const QString& text) {
        return QMessageBox::question(nullptr, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
}
