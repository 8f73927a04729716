// Drive tests of the design (drive ready, drive empty, floppy, CD-ROM) on a system without drive
// letters: a "drive" is the mount point that holds a path. Tests install FakeDriveProbe.
#pragma once
#include <QMap>
#include <QString>

class DriveProbe {
public:
    virtual ~DriveProbe() = default;
    // Mount point holding `path` (the nearest existing ancestor when it does not exist yet).
    virtual QString DriveRoot(const QString& path) const = 0;
    virtual bool IsReady(const QString& path) const = 0;
    virtual bool IsFloppy(const QString& path) const = 0;
    virtual bool IsCdRom(const QString& path) const = 0;
    // Ready and nothing in the drive root.
    virtual bool IsEmpty(const QString& path) const;
};

// QStorageInfo plus /sys/block/<device>/removable.
class LinuxDriveProbe : public DriveProbe {
public:
    QString DriveRoot(const QString& path) const override;
    bool IsReady(const QString& path) const override;
    bool IsFloppy(const QString& path) const override;
    bool IsCdRom(const QString& path) const override;
};

// Drives by mount point for tests; paths outside every declared drive belong to "/" which is a
// ready hard disk unless declared otherwise.
class FakeDriveProbe : public DriveProbe {
public:
    enum class Kind { Fixed, Floppy, CdRom };
    void AddDrive(const QString& root, Kind kind, bool ready = true);
    QString DriveRoot(const QString& path) const override;
    bool IsReady(const QString& path) const override;
    bool IsFloppy(const QString& path) const override;
    bool IsCdRom(const QString& path) const override;

private:
    struct Drive {
        Kind kind;
        bool ready;
    };
    QMap<QString, Drive> drives;
};

// The probe in use (LinuxDriveProbe unless a test installed another one).
DriveProbe& Drives();
// Installs `probe` (not owned); nullptr restores the system probe.
void SetDriveProbe(DriveProbe* probe);
