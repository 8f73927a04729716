// The single place that knows the program folder (where the editor, its templates, RTP/ and the
// help live). Always returned with a trailing separator.
#pragma once
#include <QString>
#include <filesystem>

QString ProgramFolder();
// Tests point the program folder at a sandbox; an empty string restores the real one.
void SetProgramFolderForTests(const QString& folder);

// A folder path with exactly one trailing '/' (empty stays empty).
QString WithTrailingSeparator(const QString& folder);

// The same path for the storage layer, in the file system's own encoding.
std::filesystem::path ToStoragePath(const QString& path);
