#include "IniFile.h"

#include "TextCodec.h"

#include <QFile>
#include <QSaveFile>

namespace {
// A settings file bigger than this is not one of ours; treat it as unreadable.
constexpr qint64 kMaxIniSize = 4 * 1024 * 1024;

bool sameName(const QByteArray& a, const QString& b)
{
    return FromCp1252(a.trimmed()).compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// "[name]" -> name; anything else -> null.
QByteArray sectionName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return {};
    const int end = t.indexOf(']');
    QByteArray name = (end < 0 ? t.mid(1) : t.mid(1, end - 1)).trimmed();
    return name.isNull() ? QByteArray("") : name;
}

bool isSection(const QByteArray& line)
{
    return line.trimmed().startsWith('[');
}

// Key part of "key=value", or null when the line is no value line.
QByteArray keyOf(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return {};
    const int eq = t.indexOf('=');
    return eq < 0 ? QByteArray() : t.left(eq).trimmed();
}

QByteArray valueOf(const QByteArray& line)
{
    QByteArray v = line.mid(line.indexOf('=') + 1).trimmed();
    // Like the system's reader: one pair of matching quotes around the value is dropped.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// A value must stay on its line.
QByteArray oneLine(const QString& text)
{
    QByteArray b = ToCp1252Bytes(text);
    b.replace('\r', ' ').replace('\n', ' ');
    return b;
}

bool parseInteger(const QString& text, int& out)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        out = t.mid(2).toInt(&ok, 16);
    else if (t.startsWith('$'))
        out = t.mid(1).toInt(&ok, 16);
    else
        out = t.toInt(&ok, 10);
    return ok;
}
} // namespace

IniFile::IniFile(const QString& path) : path(path) {}

IniFile::Lines IniFile::load() const
{
    Lines lines;
    QFile f(path);
    if (!f.exists())
        return lines;
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxIniSize) {
        lines.readable = false;
        return lines;
    }
    const QByteArray all = f.readAll();
    if (!all.contains("\r\n") && all.contains('\n'))
        lines.eol = "\n";
    lines.text = all.split('\n');
    if (!lines.text.isEmpty() && lines.text.back().isEmpty())
        lines.text.removeLast();
    for (QByteArray& l : lines.text) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return lines;
}

bool IniFile::save(const Lines& lines) const
{
    // Writing what we could not read would throw the rest of the file away.
    if (!lines.readable)
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray& l : lines.text) {
        f.write(l);
        f.write(lines.eol);
    }
    return f.commit();
}

int IniFile::findKey(const Lines& lines, const QString& section, const QString& key)
{
    bool inSection = false, seenSection = false;
    for (int i = 0; i < lines.text.size(); ++i) {
        const QByteArray& l = lines.text[i];
        if (isSection(l)) {
            if (inSection)
                return -1; // only the first matching section counts
            inSection = !seenSection && sameName(sectionName(l), section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection) {
            const QByteArray k = keyOf(l);
            if (!k.isNull() && sameName(k, key))
                return i;
        }
    }
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    const Lines lines = load();
    const int i = findKey(lines, section, key);
    return i < 0 ? fallback : FromCp1252(valueOf(lines.text[i]));
}

int IniFile::ReadInteger(const QString& section, const QString& key, int fallback) const
{
    int n = 0;
    return parseInteger(ReadString(section, key, QString()), n) ? n : fallback;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::SectionExists(const QString& section) const
{
    for (const QByteArray& l : load().text) {
        if (isSection(l) && sameName(sectionName(l), section))
            return true;
    }
    return false;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    return findKey(load(), section, key) >= 0;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Lines lines = load();
    const QByteArray line = oneLine(key.trimmed()) + '=' + oneLine(value);
    const int at = findKey(lines, section, key);
    if (at >= 0) {
        lines.text[at] = line;
        return save(lines);
    }
    // Append to the first matching section, after its last non-blank line.
    int sec = -1;
    for (int i = 0; i < lines.text.size() && sec < 0; ++i) {
        if (isSection(lines.text[i]) && sameName(sectionName(lines.text[i]), section))
            sec = i;
    }
    if (sec < 0) {
        lines.text << '[' + oneLine(section.trimmed()) + ']' << line;
        return save(lines);
    }
    int insert = sec + 1;
    for (int i = sec + 1; i < lines.text.size() && !isSection(lines.text[i]); ++i) {
        if (!lines.text[i].trimmed().isEmpty())
            insert = i + 1;
    }
    lines.text.insert(insert, line);
    return save(lines);
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::DeleteKey(const QString& section, const QString& key)
{
    Lines lines = load();
    const int at = findKey(lines, section, key);
    if (at < 0)
        return true;
    lines.text.removeAt(at);
    return save(lines);
}
