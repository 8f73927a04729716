#pragma once
// Map properties helpers.

class TVudMapTreeItem;

// A map directly under the root has no parent to take a setting from: the five "as parent"
// choices (music, battle background, teleport, escape, save) store 1 instead of 0.
void StoreRootChoices(TVudMapTreeItem& item, bool underRoot);
