#include "TestSandbox.h"

#include "DriveProbe.h"
#include "HelpService.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>
#include <cstdio>
#include <cstdlib>

namespace {
bool inside(const QString& path, const QString& root)
{
    const QString p = QDir::cleanPath(QDir(path).absolutePath());
    const QString r = QDir::cleanPath(QDir(root).absolutePath());
    return !root.isEmpty() && (p == r || p.startsWith(r + '/'));
}

// A run outside the sandbox must not pass quietly: stop the whole program.
void require(bool ok, const QString& what)
{
    if (!ok) {
        fprintf(stderr, "not sandboxed: %s (run the tests through ctest)\n", qPrintable(what));
        std::abort();
    }
}

// Runs before main(): every folder the code under test could derive from the environment points
// into the sandbox, whoever starts the program.
const bool sandboxed = [] {
    const QString root = QStringLiteral(TF_SANDBOX_DIR);
    const std::pair<const char*, const char*> vars[] = {
        {"HOME", "home"}, {"TMPDIR", "tmp"}, {"XDG_CONFIG_HOME", "config"},
        {"XDG_DATA_HOME", "data"}, {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"}};
    for (const auto& [name, sub] : vars) {
        const QString path = root + '/' + QLatin1String(sub);
        QDir().mkpath(path);
        qputenv(name, path.toLocal8Bit());
    }
    qputenv("TF_SANDBOX", root.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", QByteArray());
    return true;
}();

class Application : public ::testing::Environment {
public:
    void SetUp() override
    {
        const QString sandbox = qEnvironmentVariable("TF_SANDBOX");
        // Refuse to run at all outside the sandbox the build prepared.
        require(!sandbox.isEmpty(), QStringLiteral("TF_SANDBOX not set"));
        require(inside(QDir::homePath(), sandbox), QDir::homePath());
        require(inside(QDir::tempPath(), sandbox), QDir::tempPath());
        QStandardPaths::setTestModeEnabled(true);
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        require(inside(config, sandbox), config);
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    void TearDown() override { delete app; }

private:
    QApplication* app = nullptr;
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new Application);
} // namespace

void SandboxTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("program"));
    QDir(dir.path()).mkpath(QStringLiteral("scratch"));
    SetProgramFolderForTests(Path(QStringLiteral("program")));
    RegistryStore::SetRootForTests(Path(QStringLiteral("registry")));
    SetScratchParentForTests(Path(QStringLiteral("scratch")));
    SingleInstance::SetFolderForTests(Path(QStringLiteral("scratch")));
    SetCurrentProjectFolder(QString());
    SetHelpOpenerForTests([](const QUrl&) {});
}

void SandboxTest::TearDown()
{
    SetDriveProbe(nullptr);
    SetMessageService(nullptr);
    SetCurrentProjectFolder(QString());
    SetProgramFolderForTests(QString());
    QDir::setCurrent(QDir::tempPath());
}

QString SandboxTest::Path(const QString& relative) const
{
    return dir.path() + '/' + relative;
}

void SandboxTest::WriteFile(const QString& relative, const QByteArray& content)
{
    const QString p = Path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
