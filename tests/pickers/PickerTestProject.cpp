#include "PickerTestProject.h"

#include "Materials.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "VireoImageFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {
TVireoPaletteEntry entry(int i)
{
    if (i == 0)
        return {10, 20, 30, 0};
    return {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0};
}
} // namespace

std::uint16_t TestColor(int index)
{
    const TVireoPaletteEntry e = entry(index);
    return std::uint16_t(((e.Red >> 3) << 11) | ((e.Green >> 2) << 5) | (e.Blue >> 3));
}

PickerTestProject::PickerTestProject()
{
    static int argc = 1;
    static char name[] = "test_pickers";
    static char* argv[] = {name, nullptr};
    QStandardPaths::setTestModeEnabled(true);
    RegistryStore::SetRootForTests(FRoot.path() + "/registry");
    if (!QApplication::instance())
        new QApplication(argc, argv);
    for (const QString& folder : MaterialFolders()) {
        QDir().mkpath(Project() + folder);
        QDir().mkpath(Package() + folder);
    }
    WriteRuntimePackagePathValue(Package());
    SetCurrentProjectFolder(Project());
}

PickerTestProject::~PickerTestProject()
{
    SetCurrentProjectFolder(QString());
    RegistryStore::SetRootForTests(QString());
}

void PickerTestProject::Picture(bool inPackage, const QString& folder, const QString& file, int width,
                                int height, int fill)
{
    TVireoBitmap picture(width, height, 8);
    for (int i = 0; i < 256; ++i)
        picture.Palette[i] = entry(i);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.ScanLine(y)[x] = std::uint8_t(fill >= 0 ? fill : (x / 24 + y / 32 * 16) % 255 + 1);
    const QString path = (inPackage ? Package() : Project()) + folder + "/" + file;
    SaveImageFile(picture, QFile::encodeName(path).toStdString());
}

void PickerTestProject::Bytes(bool inPackage, const QString& folder, const QString& file, const QByteArray& data)
{
    QFile f((inPackage ? Package() : Project()) + folder + "/" + file);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}
