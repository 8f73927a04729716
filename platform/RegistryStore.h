// Stand-in for the registry: each key ("Software\Halvane\Taleforge") is one ini file under the
// user's config folder, in a "user" or "machine" part. Value names are the registry's. Booleans
// are written as "0"/"1" and read as integers (anything but 0 is true), like the editor did.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

class RegistryStore {
public:
    enum class Hive { User, Machine };

    RegistryStore(Hive hive, const QString& keyPath);

    QString ReadString(const QString& name, const QString& fallback = {}) const;
    void WriteString(const QString& name, const QString& value);
    int ReadInteger(const QString& name, int fallback = 0) const;
    void WriteInteger(const QString& name, int value);
    bool ReadBool(const QString& name, bool fallback) const;
    void WriteBool(const QString& name, bool value);
    QByteArray ReadBinary(const QString& name) const;
    void WriteBinary(const QString& name, const QByteArray& value);

    bool ValueExists(const QString& name) const;
    void DeleteValue(const QString& name);
    QStringList ValueNames() const;

    // The file that holds this key.
    QString FilePath() const { return path; }

    static void DeleteKey(Hive hive, const QString& keyPath);
    static QString Root(Hive hive);
    // Tests keep the store inside a sandbox; an empty string restores the default root.
    static void SetRootForTests(const QString& folder);

private:
    QString path;
};

// The editor's two keys.
inline const QString kEditorKey = QStringLiteral("Software\\Halvane\\Taleforge");
inline const QString kSharedKey = QStringLiteral("Software\\Corvel\\Taleforge");
