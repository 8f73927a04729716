// Setup's start dialog: what is installed where, the two options, start or cancel.
#pragma once
#include "SetupCore.h"

#include <QDialog>
#include <QPushButton>

class QCheckBox;
class QLabel;

// The clickable box that shows the installation path.
class TInstallPathBox : public QPushButton {
    Q_OBJECT
public:
    explicit TInstallPathBox(QWidget* parent = nullptr);
    void SetPath(const QString& path);
    const QString& Path() const { return path; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateText();
    QString path;
};

class TFormFirstDialog : public QDialog {
    Q_OBJECT
public:
    TFormFirstDialog(QWidget* owner, const TSetupSettings& settings, const QString& basePath,
                     const TInstallOptions& options);

    QString BasePath() const { return PathBox->Path(); }
    TInstallOptions Options() const;

    // Opens the folder chooser; tests replace the chooser.
    void PathBoxClick();
    std::function<std::optional<QString>(const QString& current)> ChooseFolder;

private:
    QLabel* LabelTitle;
    QLabel* LabelFolder;
    TInstallPathBox* PathBox;
    QCheckBox* CheckRegisterProgram;
    QCheckBox* CheckPrepareUninstall;
    QPushButton* ButtonStart;
    QPushButton* ButtonCancel;
};
