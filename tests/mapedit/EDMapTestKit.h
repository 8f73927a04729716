// Shared by the map dialog tests: the application object and a way to answer a modal dialog
// that the code under test opens with exec().
#pragma once

#include "ProgramFolder.h"
#include "RegistryStore.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

// The application, with the registry in a temporary folder and the build's program folder
// (whose RTP/ holds the generated materials when the build made them).
inline QApplication& EDMapApp() {
  static int argc = 1;
  static char name[] = "EDMapTest";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = [] {
    QStandardPaths::setTestModeEnabled(true);
    auto* app = new QApplication(argc, argv);
    static QTemporaryDir registry;
    RegistryStore::SetRootForTests(registry.path());
    SetProgramFolderForTests(QStringLiteral(TF_PROGRAM_DIR));
    return app;
  }();
  return *instance;
}

// Runs `answer` on the next modal dialog that opens (within two seconds). The answer must
// close it (accept or reject); it gets the dialog and may set its controls first.
inline void WhenModal(std::function<void(QDialog*)> answer) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, answer] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog && clock->elapsed() < 2000) return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (dialog) answer(dialog);
  });
  timer->start(5);
}
