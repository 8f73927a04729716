// The game disk dialog: the destination (a folder, or a floppy drive's root), whether the
// run-time package goes along, and "Comenzar", which packs the open project through TGamePacker.
#pragma once
#include "VudBase.h"

#include <QStringList>

class QCheckBox;
class QPushButton;
class TPathBox;

// The first floppy drive among `driveRoots` (in order), else the user's home folder: there is
// no drive A to fall back on here. With a trailing separator.
QString DefaultPackDestination(const QStringList& driveRoots);
// The mounted volumes' roots, sorted.
QStringList MountedDriveRoots();

class TFormProjectPack : public TFormVudBase {
    Q_OBJECT
public:
    explicit TFormProjectPack(QWidget* owner, const QString& projectFolder);

    const QString& Destination() const { return destination; }
    void SetDestination(const QString& folder);

    void ButtonStartClick();
    void PathBoxClick();

    // Tests replace the copy's progress window (see FileCopier::Progress).
    std::function<bool(qint64 done, qint64 total)> CopyProgress;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QString project;
    QString destination;
    TPathBox* PathBox;
    QCheckBox* CheckIncludeRtp;
    QPushButton* ButtonStart;
    QPushButton* ButtonCancel;
    bool shown = false;
};
