#include "DriveProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {
DriveProbe*& current()
{
    static DriveProbe* probe = nullptr;
    return probe;
}

QString existingAncestor(const QString& path)
{
    QString p = QDir::cleanPath(QDir(path).absolutePath());
    while (!QFileInfo::exists(p) && p != QLatin1String("/") && !p.isEmpty())
        p = QFileInfo(p).absolutePath();
    return p.isEmpty() ? QStringLiteral("/") : p;
}

// "sdb1" -> "sdb", "mmcblk0p1" -> "mmcblk0", "fd0" -> "fd0".
QString blockDevice(const QStorageInfo& info)
{
    QString dev = QFileInfo(QString::fromLocal8Bit(info.device())).fileName();
    if (QFileInfo::exists(QStringLiteral("/sys/block/") + dev))
        return dev;
    while (!dev.isEmpty() && dev.back().isDigit())
        dev.chop(1);
    if (dev.endsWith('p') && QFileInfo::exists(QStringLiteral("/sys/block/") + dev.chopped(1)))
        dev.chop(1);
    return dev;
}

bool removable(const QString& dev)
{
    QFile f(QStringLiteral("/sys/block/%1/removable").arg(dev));
    return f.open(QIODevice::ReadOnly) && f.read(1) == "1";
}
} // namespace

bool DriveProbe::IsEmpty(const QString& path) const
{
    if (!IsReady(path))
        return false;
    return QDir(DriveRoot(path)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                           QDir::NoDotAndDotDot).isEmpty();
}

QString LinuxDriveProbe::DriveRoot(const QString& path) const
{
    const QStorageInfo info(existingAncestor(path));
    return info.isValid() ? info.rootPath() : QStringLiteral("/");
}

bool LinuxDriveProbe::IsReady(const QString& path) const
{
    const QStorageInfo info(existingAncestor(path));
    return info.isValid() && info.isReady();
}

bool LinuxDriveProbe::IsFloppy(const QString& path) const
{
    const QStorageInfo info(existingAncestor(path));
    const QString dev = blockDevice(info);
    if (dev.startsWith(QLatin1String("fd")))
        return true;
    // A removable medium the size of a floppy disk (2.88 MB at most).
    return removable(dev) && info.bytesTotal() > 0 && info.bytesTotal() <= 2880 * 1024;
}

bool LinuxDriveProbe::IsCdRom(const QString& path) const
{
    const QStorageInfo info(existingAncestor(path));
    const QByteArray fs = info.fileSystemType();
    return fs == "iso9660" || fs == "udf" || blockDevice(info).startsWith(QLatin1String("sr"));
}

void FakeDriveProbe::AddDrive(const QString& root, Kind kind, bool ready)
{
    drives.insert(QDir::cleanPath(root), {kind, ready});
}

QString FakeDriveProbe::DriveRoot(const QString& path) const
{
    const QString p = QDir::cleanPath(QDir(path).absolutePath());
    QString best = QStringLiteral("/");
    for (auto it = drives.cbegin(); it != drives.cend(); ++it) {
        const QString& r = it.key();
        if ((p == r || p.startsWith(r + '/')) && r.size() > best.size())
            best = r;
    }
    return best;
}

bool FakeDriveProbe::IsReady(const QString& path) const
{
    const auto it = drives.find(DriveRoot(path));
    return it == drives.end() || it->ready;
}

bool FakeDriveProbe::IsFloppy(const QString& path) const
{
    const auto it = drives.find(DriveRoot(path));
    return it != drives.end() && it->kind == Kind::Floppy;
}

bool FakeDriveProbe::IsCdRom(const QString& path) const
{
    const auto it = drives.find(DriveRoot(path));
    return it != drives.end() && it->kind == Kind::CdRom;
}

DriveProbe& Drives()
{
    static LinuxDriveProbe linuxProbe;
    return current() ? *current() : linuxProbe;
}

void SetDriveProbe(DriveProbe* probe)
{
    current() = probe;
}
