#include "SingleInstance.h"

#include "ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}

QString lockFolder()
{
    return WithTrailingSeparator(folderOverride().isEmpty() ? QDir::tempPath() : folderOverride());
}

const QByteArray kActivate = "activate\n";
} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), name(name) {}

SingleInstance::~SingleInstance()
{
    Release();
}

void SingleInstance::SetFolderForTests(const QString& folder)
{
    folderOverride() = folder;
}

QString SingleInstance::serverName() const
{
    // Per user and per sandbox, so tests never meet a real editor.
    const QByteArray tag = QCryptographicHash::hash(lockFolder().toUtf8(), QCryptographicHash::Sha1)
                               .toHex()
                               .left(8);
    return QStringLiteral("%1-%2-%3").arg(name).arg(getuid()).arg(QString::fromLatin1(tag));
}

bool SingleInstance::Acquire()
{
    if (lock)
        return true;
    auto file = std::make_unique<QLockFile>(lockFolder() + serverName() + QStringLiteral(".lock"));
    file->setStaleLockTime(0); // only a dead owner makes the lock stale
    if (!file->tryLock(0))
        return false;
    lock = std::move(file);
    // We hold the lock, so any socket left under this name belongs to a dead instance.
    QLocalServer::removeServer(serverName());
    server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().startsWith(kActivate.trimmed()))
                    emit ActivationRequested();
                s->disconnectFromServer();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    server->listen(serverName());
    return true;
}

bool SingleInstance::NotifyRunning(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    // The first instance may hold the lock but not listen yet: retry briefly.
    while (clock.elapsed() < timeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(200)) {
            socket.write(kActivate);
            const bool ok = socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return ok;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::Release()
{
    server.reset();
    if (lock)
        lock->unlock();
    lock.reset();
}
