#include "InstallPlaces.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {
bool isControl(QChar c)
{
    const ushort u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// Characters no file name may hold on either system the games travel between.
bool isReserved(QChar c)
{
    return QStringLiteral("/\\:*?\"<>|").contains(c);
}
} // namespace

QString ApplicationsFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation));
}

QString UninstallerFolder()
{
    // The XDG place for a user's own programs; QStandardPaths has no name for it.
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/bin"));
}

bool HasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

bool IsSafeFolderName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // Room for ".lzh" or ".001" within the 255 bytes a file name may have.
    if (QFile::encodeName(name).size() > 240)
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return isControl(c) || isReserved(c); });
}

QString TitleAsFileName(const QString& title, const QString& fallback)
{
    QString name;
    for (QChar c : title)
        name += (isControl(c) || isReserved(c)) ? QChar('_') : c;
    qsizetype start = 0;
    while (start < name.size() && (name[start] == '.' || name[start].isSpace()))
        ++start;
    name = name.mid(start).trimmed();
    // ".desktop" and the folder names must still fit the 255 bytes of one name.
    while (QFile::encodeName(name).size() > 200)
        name.chop(1);
    name = name.trimmed();
    return name.isEmpty() ? fallback : name;
}
