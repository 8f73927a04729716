// Windows profile (ini) files as the game run time and the installer read them: sections and keys
// match without regard to letter case, the first match wins, values are trimmed, the text is
// Windows-1252 bytes, and lines we do not understand are kept as they are. Nothing is cached:
// every call reads the file, and every write is saved at once, atomically.
#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

class IniFile {
public:
    explicit IniFile(const QString& path);

    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
    int ReadInteger(const QString& section, const QString& key, int fallback) const;
    bool ReadBool(const QString& section, const QString& key, bool fallback) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // False when the file could not be written (missing folder, no permission).
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);
    bool DeleteKey(const QString& section, const QString& key);

    const QString& FileName() const { return path; }

private:
    struct Lines {
        QList<QByteArray> text;
        QByteArray eol = "\r\n";
        bool readable = true; // false: the file exists but could not be read
    };
    Lines load() const;
    bool save(const Lines& lines) const;
    // Index of the first value line of `key` in the first `section`, or -1.
    static int findKey(const Lines& lines, const QString& section, const QString& key);

    QString path;
};
