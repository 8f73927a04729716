// Material lookup: materials are named by bare file name; the project's folder comes first, the
// run-time package's second. Names match files without regard to letter case (this system's file
// names are case-sensitive, the data's are not), and a name can never reach outside its folder.
#pragma once
#include <QString>
#include <QStringList>

// The fourteen material folders, in the order a new project creates them.
const QStringList& MaterialFolders();
// Extensions of one folder, in the order they are tried ("bmp", "png", "xyz" for pictures).
QStringList MaterialExtensions(const QString& folder);

// Project names, then run-time package names the project lacks, marked " <RTP>"; each part in
// natural order. Shows the hourglass while it runs.
void ListMaterials(QStringList& target, const QString& folder, const QStringList& extensions);

inline const QString kRtpMark = QStringLiteral(" <RTP>");
bool IsRtpMaterial(const QString& name);
QString StripRtpMark(const QString& name);

// Full path of the material's file, the name itself when no file exists, and empty for an empty
// name or one that is not a bare file name (path separators, "..").
QString ResolveMaterialFile(const QString& name, const QString& folder, const QStringList& extensions);
bool IsBareMaterialName(const QString& name);
