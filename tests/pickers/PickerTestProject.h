// A throw-away project and run-time package with small 8-bit pictures written by our codecs.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstdint>

class PickerTestProject {
public:
    PickerTestProject();
    ~PickerTestProject();

    // An 8-bit picture whose pixels are (x / cell + y / cell × 16) % 255 + 1 unless `fill`
    // is given; palette entry i is (i, 255 - i, i / 2), entry 0 (10, 20, 30).
    void Picture(bool inPackage, const QString& folder, const QString& file, int width, int height,
                 int fill = -1);
    void Bytes(bool inPackage, const QString& folder, const QString& file, const QByteArray& data);
    QString Project() const { return FRoot.path() + "/Project/"; }
    QString Package() const { return FRoot.path() + "/RTP/"; }

private:
    QTemporaryDir FRoot;
};

// Entry i of the test palette as the board shows it (RGB 5-6-5).
std::uint16_t TestColor(int index);
