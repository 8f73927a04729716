// Test support shared by the platform and shell suites: a QApplication for widget tests, a check
// that the run is sandboxed, and a per-test folder that stands in for the program folder, the
// registry root and the scratch parent.
#pragma once
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A folder of this test: "<tmp>/program/", "<tmp>/registry", ...
    QString Path(const QString& relative) const;
    // Creates `relative` (and its parents) with `content`.
    void WriteFile(const QString& relative, const QByteArray& content = "x");

    QTemporaryDir dir;
};
