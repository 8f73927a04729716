#include "Materials.h"

#include "Hourglass.h"
#include "NaturalSort.h"
#include "ProgramFolder.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {
const QStringList kPictureExtensions = {QStringLiteral("bmp"), QStringLiteral("png"),
                                        QStringLiteral("xyz")};

// Names (without extension) of the plain, visible files of `folder` with one of the extensions.
QStringList collect(const QString& folder, const QStringList& extensions)
{
    QStringList names;
    QSet<QString> seen;
    if (folder.isEmpty())
        return names;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : files) {
        if (!extensions.contains(f.suffix().toLower()) || f.completeBaseName().isEmpty())
            continue;
        const QString name = f.completeBaseName();
        if (!seen.contains(name.toCaseFolded())) {
            seen.insert(name.toCaseFolded());
            names << name;
        }
    }
    NaturalSort(names);
    return names;
}

// `<folder>/<name>.<ext>` when such a file exists, matching letter case loosely.
QString findFile(const QString& folder, const QString& fileName)
{
    const QString exact = folder + fileName;
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& e : entries) {
        if (e.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + e;
    }
    return {};
}

QString resolveIn(const QString& base, const QString& name, const QString& folder,
                  const QStringList& extensions)
{
    if (base.isEmpty())
        return {};
    const QString dir = WithTrailingSeparator(base + folder);
    for (const QString& ext : extensions) {
        const QString found = findFile(dir, name + '.' + ext);
        if (!found.isEmpty())
            return found;
    }
    return {};
}
} // namespace

const QStringList& MaterialFolders()
{
    static const QStringList folders = {
        QStringLiteral("Backdrop"), QStringLiteral("Battle"),   QStringLiteral("CharSet"),
        QStringLiteral("ChipSet"),  QStringLiteral("FaceSet"),  QStringLiteral("GameOver"),
        QStringLiteral("Monster"),  QStringLiteral("Movie"),    QStringLiteral("Music"),
        QStringLiteral("Panorama"), QStringLiteral("Picture"),  QStringLiteral("Sound"),
        QStringLiteral("System"),   QStringLiteral("Title")};
    return folders;
}

QStringList MaterialExtensions(const QString& folder)
{
    if (folder == QLatin1String("Music"))
        return {QStringLiteral("mid"), QStringLiteral("wav"), QStringLiteral("mp3")};
    if (folder == QLatin1String("Sound"))
        return {QStringLiteral("wav")};
    if (folder == QLatin1String("Movie"))
        return {QStringLiteral("avi"), QStringLiteral("mpg")};
    return MaterialFolders().contains(folder) ? kPictureExtensions : QStringList();
}

void ListMaterials(QStringList& target, const QString& folder, const QStringList& extensions)
{
    HourglassGuard hourglass;
    QStringList lower;
    for (const QString& e : extensions)
        lower << e.toLower();
    const QString project = CurrentProjectFolder();
    const QString rtp = RuntimePackagePath();
    target = collect(project.isEmpty() ? QString() : project + folder, lower);
    QSet<QString> inProject;
    for (const QString& n : target)
        inProject.insert(n.toCaseFolded());
    for (const QString& n : collect(rtp.isEmpty() ? QString() : rtp + folder, lower)) {
        if (!inProject.contains(n.toCaseFolded()))
            target << n + kRtpMark;
    }
}

bool IsRtpMaterial(const QString& name)
{
    return name.endsWith(kRtpMark);
}

QString StripRtpMark(const QString& name)
{
    return IsRtpMaterial(name) ? name.chopped(kRtpMark.size()) : name;
}

bool IsBareMaterialName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains('/') && !name.contains('\\') && !name.contains(QChar(0));
}

QString ResolveMaterialFile(const QString& name, const QString& folder, const QStringList& extensions)
{
    if (!IsBareMaterialName(name))
        return {};
    QString found = resolveIn(CurrentProjectFolder(), name, folder, extensions);
    if (found.isEmpty())
        found = resolveIn(RuntimePackagePath(), name, folder, extensions);
    return found.isEmpty() ? name : found;
}
