#include "GameMaterials.h"

#include "IniFile.h"
#include "Materials.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "VireoImageFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
TGameMaterialRoots& roots()
{
    static TGameMaterialRoots value;
    return value;
}

// `<dir><fileName>` matching letter case loosely: materials named in records come from a system
// whose file names ignore case.
QString findFile(const QString& dir, const QString& fileName)
{
    const QString exact = dir + fileName;
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& e : entries) {
        if (e.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir + e;
    }
    return {};
}

QString resolveUnder(const QString& base, const QString& folder, const QString& name)
{
    if (base.isEmpty())
        return {};
    const QString dir = WithTrailingSeparator(base + folder);
    for (const QString& ext : MaterialExtensions(folder)) {
        const QString found = findFile(dir, name + '.' + ext);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

constexpr qint64 kMaxGamePixels = 4096 * 4096;

QRgb rgbOf(const TVireoPaletteEntry& e)
{
    return qRgb(e.Red, e.Green, e.Blue);
}
} // namespace

QString InstalledRuntimePackage()
{
    // Read only: the game never writes the editor's settings. Without a stored path the editor
    // adopts the RTP folder beside itself, and it records where it lives at every start.
    QString path = ReadRuntimePackagePathValue();
    if (path.isEmpty()) {
        const QString editor = RegistryStore(RegistryStore::Hive::User, kEditorKey)
                                   .ReadString(QStringLiteral("ApplicationPath"));
        const QString beside = WithTrailingSeparator(editor) + QStringLiteral("RTP");
        if (!editor.isEmpty() && QFileInfo(beside).isDir())
            path = beside;
    }
    return WithTrailingSeparator(path);
}

TGameMaterialRoots GameMaterialRootsOf(const QString& projectFolder)
{
    TGameMaterialRoots result;
    result.Project = WithTrailingSeparator(QDir(projectFolder).absolutePath());
    const bool fullPackage = IniFile(ProjectIniPath(projectFolder))
                                 .ReadBool(QStringLiteral("TFPLAY"), QStringLiteral("FullPackageFlag"), false);
    if (!fullPackage)
        result.RuntimePackage = InstalledRuntimePackage();
    return result;
}

void SetGameMaterialRoots(const TGameMaterialRoots& value)
{
    roots() = value;
}

const TGameMaterialRoots& GameMaterialRoots()
{
    return roots();
}

QString ResolveGameMaterialIn(const TGameMaterialRoots& where, const QString& folder,
                              const QString& name)
{
    if (!IsBareMaterialName(name) || !MaterialFolders().contains(folder))
        return {};
    QString found = resolveUnder(where.Project, folder, name);
    if (found.isEmpty())
        found = resolveUnder(where.RuntimePackage, folder, name);
    return found;
}

QString ResolveGameMaterial(const QString& folder, const QString& name)
{
    return ResolveGameMaterialIn(roots(), folder, name);
}

QImage LoadGameImage(const QString& file, bool transparent, QString* error)
{
    TVireoBitmap bitmap;
    try {
        LoadImageFile(bitmap, ToStoragePath(file));
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return {};
    }
    const int w = bitmap.Width(), h = bitmap.Height();
    // The game's pictures are screen-sized; a larger one is refused before a 32-bit copy is made.
    if (qint64(w) * h > kMaxGamePixels) {
        if (error)
            *error = QStringLiteral("Imagen demasiado grande");
        return {};
    }
    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("Formato de imagen no válido");
        return {};
    }
    if (bitmap.IsPaletted()) {
        QList<QRgb> colours(256, qRgb(0, 0, 0));
        for (std::size_t i = 0; i < bitmap.Palette.size() && i < 256; ++i)
            colours[int(i)] = rgbOf(bitmap.Palette[i]);
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const int index = bitmap.PixelIndex(x, y);
                line[x] = transparent && index == 0 ? 0u : colours[index];
            }
        }
        return image;
    }
    const int step = bitmap.BitCount() / 8;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = bitmap.ScanLine(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x, src += step) {
            const int alpha = step == 4 ? src[3] : 255;
            line[x] = qRgba(src[2], src[1], src[0], alpha);
        }
    }
    return image;
}

QImage LoadGameMaterialImage(const QString& folder, const QString& name, bool transparent)
{
    const QString file = ResolveGameMaterial(folder, name);
    return file.isEmpty() ? QImage() : LoadGameImage(file, transparent);
}
