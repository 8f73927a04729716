// The natural order of material names: a trailing digit run counts by its value, so Hero2 comes
// before Hero10, and names compare like file names (locale-aware, letter case ignored).
#pragma once
#include <QString>
#include <QStringList>

// Prefix up to the last non-digit, then the trailing digits' value zero-padded to `width` digits
// (an empty run counts as 0). A name of digits only is all prefix.
QString NaturalSortKey(const QString& name, int width = 10);
// Sorts in place. The padding widens beyond ten digits when a name carries a longer run, so any
// length of digits compares by value.
void NaturalSort(QStringList& names);
