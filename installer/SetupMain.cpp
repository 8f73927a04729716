#include "SetupMain.h"

#include "FirstDialog.h"
#include "MessageService.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

TFormSetupMain::TFormSetupMain(const TSetupSettings& settings, const QString& sourceFolder)
    : QWidget(nullptr, Qt::FramelessWindowHint), settings(settings), source(sourceFolder)
{
    setObjectName(QStringLiteral("FormSetupMain"));
    setWindowTitle(QStringLiteral("Setup"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    ExecStartDialog = [](TFormFirstDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

void TFormSetupMain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int h = height();
    const int penWidth = h / 64 + 2;
    for (int i = 0; i < 64; ++i) {
        const int y = i * h / 63;
        // A horizontal line of that pen width, centred on y; neighbours overlap, so no gaps.
        painter.fillRect(0, y - penWidth / 2, width(), penWidth, QColor(4 * i, 4 * i, 128 + 2 * i));
    }
}

bool TFormSetupMain::Installation()
{
    std::unique_ptr<TArchiverLibrary> archiver;
    try {
        archiver = std::make_unique<TArchiverLibrary>(source);
    } catch (const ESetupError& e) {
        // Told before the program closes: otherwise the player sees Setup simply vanish.
        Messages().Error(e.Message);
        return false;
    }
    TFormFirstDialog dialog(this, settings, DefaultInstallBasePath(), ReadInstallOptions());
    if (!ExecStartDialog(dialog))
        return false;
    TSetupInstaller installer(settings, source, archiver->Unlha());
    installer.Owner = this;
    if (PrepareInstaller)
        PrepareInstaller(installer);
    setEnabled(false);
    const bool finished = installer.Install(dialog.BasePath(), dialog.Options());
    setEnabled(true);
    return finished;
}

void TFormSetupMain::ApplicationIdle()
{
    if (ran)
        return;
    ran = true;
    try {
        Installation();
    } catch (...) {
        // An unexpected failure ends the program, like every other way out.
    }
    close();
}

int SetupProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<TSetupSettings> settings =
        ReadSetupSettings(SetupIniPath(QApplication::applicationFilePath()));
    if (!settings)
        return 0;
    SetApplicationTitle(QStringLiteral("Setup"));
    QApplication::setApplicationName(QStringLiteral("Setup"));
    const QString problem = CheckSetupSettings(*settings);
    if (!problem.isEmpty()) {
        Messages().Error(problem);
        return 1;
    }
    TFormSetupMain main(*settings, QApplication::applicationDirPath());
    main.show();
    QTimer::singleShot(0, &main, &TFormSetupMain::ApplicationIdle);
    return app.exec();
}
