// One running editor. The lock file decides atomically who is first (no window between test and
// create); the first instance then listens on a local socket of the same name, and a later one
// asks it to come to the front and ends.
#pragma once
#include <QLockFile>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the only instance; it then keeps the lock until Release.
    bool Acquire();
    // Asks the running instance to come to the front; false when none answered in time.
    bool NotifyRunning(int timeoutMs = 2000);
    void Release();

    // Tests keep the lock and socket inside a sandbox; empty restores the temporary folder.
    static void SetFolderForTests(const QString& folder);

signals:
    void ActivationRequested();

private:
    QString serverName() const;

    QString name;
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
};
