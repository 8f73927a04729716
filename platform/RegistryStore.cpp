#include "RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString& rootOverride()
{
    static QString root;
    return root;
}

QString keyFile(RegistryStore::Hive hive, const QString& keyPath)
{
    // Key paths become folders; anything that could climb out of the root is dropped.
    QStringList parts;
    for (const QString& p : QString(keyPath).replace('\\', '/').split('/', Qt::SkipEmptyParts)) {
        if (p != QLatin1String(".") && p != QLatin1String(".."))
            parts << p;
    }
    return RegistryStore::Root(hive) + '/' + parts.join('/') + QStringLiteral(".ini");
}

// Values live directly in the key: one flat group per file.
QString valueKey(const QString& name)
{
    return QStringLiteral("Values/") + name;
}
} // namespace

QString RegistryStore::Root(Hive hive)
{
    QString base = rootOverride();
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Taleforge/registry");
    return base + (hive == Hive::User ? QStringLiteral("/user") : QStringLiteral("/machine"));
}

void RegistryStore::SetRootForTests(const QString& folder)
{
    rootOverride() = folder;
}

RegistryStore::RegistryStore(Hive hive, const QString& keyPath) : path(keyFile(hive, keyPath)) {}

QString RegistryStore::ReadString(const QString& name, const QString& fallback) const
{
    QSettings s(path, QSettings::IniFormat);
    const QVariant v = s.value(valueKey(name));
    return v.isValid() ? v.toString() : fallback;
}

void RegistryStore::WriteString(const QString& name, const QString& value)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings s(path, QSettings::IniFormat);
    s.setValue(valueKey(name), value);
    s.sync();
}

int RegistryStore::ReadInteger(const QString& name, int fallback) const
{
    QSettings s(path, QSettings::IniFormat);
    const QVariant v = s.value(valueKey(name));
    if (!v.isValid())
        return fallback;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : fallback;
}

void RegistryStore::WriteInteger(const QString& name, int value)
{
    WriteString(name, QString::number(value));
}

bool RegistryStore::ReadBool(const QString& name, bool fallback) const
{
    return ReadInteger(name, fallback ? 1 : 0) != 0;
}

void RegistryStore::WriteBool(const QString& name, bool value)
{
    WriteString(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray RegistryStore::ReadBinary(const QString& name) const
{
    QSettings s(path, QSettings::IniFormat);
    return s.value(valueKey(name)).toByteArray();
}

void RegistryStore::WriteBinary(const QString& name, const QByteArray& value)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings s(path, QSettings::IniFormat);
    s.setValue(valueKey(name), value);
    s.sync();
}

bool RegistryStore::ValueExists(const QString& name) const
{
    QSettings s(path, QSettings::IniFormat);
    return s.contains(valueKey(name));
}

void RegistryStore::DeleteValue(const QString& name)
{
    if (!QFileInfo::exists(path))
        return;
    QSettings s(path, QSettings::IniFormat);
    s.remove(valueKey(name));
    s.sync();
}

QStringList RegistryStore::ValueNames() const
{
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Values"));
    return s.childKeys();
}

void RegistryStore::DeleteKey(Hive hive, const QString& keyPath)
{
    QFile::remove(keyFile(hive, keyPath));
}
