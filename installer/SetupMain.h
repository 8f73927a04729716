// Setup's background window: a full-screen blue-to-white gradient that runs the installation
// once, the first time the program is idle, and then closes, ending the program.
#pragma once
#include "SetupCore.h"

#include <QWidget>
#include <functional>

class TFormFirstDialog;

class TFormSetupMain : public QWidget {
    Q_OBJECT
public:
    TFormSetupMain(const TSetupSettings& settings, const QString& sourceFolder);

    // Load the archiver, ask with the start dialog, install. False when nothing was installed.
    bool Installation();
    // Runs the installation (once) and closes the window.
    void ApplicationIdle();

    // Tests replace the modal start dialog: return true to start.
    std::function<bool(TFormFirstDialog& dialog)> ExecStartDialog;
    // Tests adjust the installer before it runs.
    std::function<void(TSetupInstaller& installer)> PrepareInstaller;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TSetupSettings settings;
    QString source;
    bool ran = false;
};

// The whole program, from the command line to the end of the message loop.
int SetupProgram(int argc, char** argv);
