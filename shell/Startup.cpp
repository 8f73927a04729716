#include "Startup.h"

#include "MainUnit.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "Splash.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibrary>
#include <QScreen>
#include <algorithm>
#include <new>

namespace {
const char* const kStartupCaption = "Taleforge Studio";
const char* const kApplicationTitle = "Taleforge StudioV";

// Errors that escape an event handler end up here: shown, and fatal only when memory ran out.
class TEditorApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            Messages().Error(QStringLiteral("Sin memoria"));
            QApplication::exit(1);
        } catch (const std::exception& e) {
            Messages().Error(QString::fromUtf8(e.what()));
        }
        return false;
    }
};
} // namespace

QString StartupMessage(TStartupCheck check)
{
    switch (check) {
    case TStartupCheck::Screen:
        return QStringLiteral("El programa debe iniciarse a una resolución mínima de 800 x 600 y de color "
                              "de alta densidad (16 bits) como mínimo.");
    case TStartupCheck::RuntimePackage:
        return QStringLiteral("No está instalado el RTP de Taleforge Studio.");
    case TStartupCheck::Archiver:
        return QStringLiteral("No se ha encontrado Unlha32.dll.");
    case TStartupCheck::DirectX:
        return QStringLiteral("Se necesita DirectX 8.0 o superior.");
    case TStartupCheck::Passed:
        break;
    }
    return QString();
}

TStartupCheck RunStartupChecks(const TStartupProbes& probes)
{
    TStartupCheck failed = TStartupCheck::Passed;
    const QSize screen = probes.ScreenSize ? probes.ScreenSize() : QSize();
    const int depth = probes.ColorDepth ? probes.ColorDepth() : 0;
    if (depth < 16 || screen.width() < 800 || screen.height() < 600)
        failed = TStartupCheck::Screen;
    else if (!probes.RuntimePackageInstalled || !probes.RuntimePackageInstalled())
        failed = TStartupCheck::RuntimePackage;
    else if (!probes.ArchiverLoaded || !probes.ArchiverLoaded())
        failed = TStartupCheck::Archiver;
    else if (!probes.DirectXPresent || !probes.DirectXPresent())
        failed = TStartupCheck::DirectX;
    if (failed != TStartupCheck::Passed) {
        const QString title = ApplicationTitle();
        SetApplicationTitle(QLatin1String(kStartupCaption));
        Messages().Error(StartupMessage(failed));
        SetApplicationTitle(title);
    }
    return failed;
}

bool LoadArchiverLibrary()
{
    static QLibrary* library = nullptr;
    if (library)
        return true;
    auto* lib = new QLibrary(ProgramFolder() + QStringLiteral("UNLHA32.DLL"));
    if (!lib->load() || !lib->resolve("Unlha")) {
        delete lib;
        return false;
    }
    library = lib; // kept for the whole run, as the archiver clients expect
    return true;
}

bool RuntimePackageInstalled()
{
    const QString folder = RuntimePackagePath();
    return !folder.isEmpty() &&
           !QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
}

TStartupProbes SystemStartupProbes()
{
    TStartupProbes p;
    p.ScreenSize = [] {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->size() : QSize();
    };
    p.ColorDepth = [] {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->depth() : 0;
    };
    p.RuntimePackageInstalled = [] { return RuntimePackageInstalled(); };
    p.ArchiverLoaded = [] { return LoadArchiverLibrary(); };
    // Nothing on this platform stands for DirectX; the check keeps its place and passes.
    p.DirectXPresent = [] { return true; };
    return p;
}

int RunEditor(int argc, char** argv)
{
    TEditorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Taleforge"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    SetApplicationTitle(QLatin1String(kStartupCaption));

    SingleInstance instance(QStringLiteral("VudMutex"));
    if (!instance.Acquire()) {
        // Another editor runs: it comes to the front, this one ends.
        instance.NotifyRunning();
        return 0;
    }
    if (RunStartupChecks(SystemStartupProbes()) != TStartupCheck::Passed)
        return 1;

    SetApplicationTitle(QLatin1String(kApplicationTitle));
    auto* splash = new TFormSplash;
    splash->ShowFor();
    QApplication::processEvents();

    TFormVudMain window;
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window, [&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.show();
    // A placement saved on a larger screen must not leave the window partly out of reach.
    if (!window.isMaximized() && window.screen()) {
        const QRect area = window.screen()->availableGeometry();
        QRect frame = window.frameGeometry();
        frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
        frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
        window.move(frame.topLeft());
    }
    splash->raise();
    const int result = app.exec();
    instance.Release();
    return result;
}
