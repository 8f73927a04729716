// Removing a whole folder tree (project delete, failed project creation, the scratch folder).
#pragma once
#include <QString>

// Deletes every file (made writable first), every sub-folder recursively and then the folder.
// Symbolic links are removed as links and never followed, so nothing outside the tree is
// touched; folders whose names begin with "." are removed too (only "." and ".." are skipped).
// Failures are ignored; returns whether the folder is gone afterwards.
bool DeleteFolderTree(const QString& folder);
