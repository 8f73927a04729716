#include "FileCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <memory>

namespace {
constexpr qint64 kBlock = 256 * 1024;
}

bool FileCopier::copyOne(const QString& from, const QString& to, qint64& done,
                         const std::function<bool(qint64)>& tick)
{
    QFile in(from);
    if (!QFileInfo(from).isFile() || !in.open(QIODevice::ReadOnly)) {
        failed = from;
        return false;
    }
    QDir().mkpath(QFileInfo(to).absolutePath());
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) {
        failed = to;
        return false;
    }
    QByteArray block;
    while (!(block = in.read(kBlock)).isEmpty()) {
        if (out.write(block) != block.size()) {
            failed = to;
            return false;
        }
        done += block.size();
        if (!tick(done)) {
            out.cancelWriting();
            failed.clear();
            return false;
        }
    }
    if (in.error() != QFile::NoError || !out.commit()) {
        failed = to;
        return false;
    }
    QFile::setPermissions(to, QFile::permissions(from));
    return true;
}

bool FileCopier::Copy(const QStringList& from, const QStringList& to)
{
    failed.clear();
    if (from.size() != to.size())
        return false;
    qint64 total = 0;
    for (const QString& f : from)
        total += QFileInfo(f).size();

    std::unique_ptr<QProgressDialog> dialog;
    std::function<bool(qint64)> tick;
    if (Progress) {
        tick = [&](qint64 done) { return Progress(done, total); };
    } else {
        dialog = std::make_unique<QProgressDialog>(QStringLiteral("Copiando archivos..."),
                                                   QStringLiteral("Cancelar"), 0, 1000, owner);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setMinimumDuration(500);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        tick = [&](qint64 done) {
            dialog->setValue(total > 0 ? int(done * 1000 / total) : 1000);
            return !dialog->wasCanceled();
        };
    }
    qint64 done = 0;
    if (!tick(0))
        return false;
    for (int i = 0; i < from.size(); ++i) {
        if (!copyOne(from[i], to[i], done, tick))
            return false;
    }
    return true;
}

bool CopyFileKeepingMode(const QString& from, const QString& to)
{
    FileCopier copier;
    copier.Progress = [](qint64, qint64) { return true; };
    return copier.Copy({from}, {to});
}
