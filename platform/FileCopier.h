// Copies a list of files to a parallel list of targets with a progress window, like the shell's
// file copy: no prompts, existing targets are overwritten, missing target folders are created.
// Each target is written beside and renamed into place, and keeps the source's permissions (so
// the exec bit survives). Cancel counts as failure.
#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

class FileCopier {
public:
    explicit FileCopier(QWidget* owner = nullptr) : owner(owner) {}

    // Replaces the progress dialog (tools, tests): called with bytes done and total; returning
    // false cancels.
    std::function<bool(qint64 done, qint64 total)> Progress;

    bool Copy(const QStringList& from, const QStringList& to);
    // The file that failed, after Copy returned false (empty when the user cancelled).
    const QString& FailedFile() const { return failed; }

private:
    bool copyOne(const QString& from, const QString& to, qint64& done,
                 const std::function<bool(qint64)>& tick);

    QWidget* owner;
    QString failed;
};

// One file, no progress window.
bool CopyFileKeepingMode(const QString& from, const QString& to);
