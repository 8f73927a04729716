#include "NaturalSort.h"

#include <QCollator>
#include <algorithm>

namespace {
bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Splits at the end of the last non-digit.
qsizetype runStart(const QString& name)
{
    qsizetype i = name.size();
    while (i > 0 && isAsciiDigit(name[i - 1]))
        --i;
    return i == 0 ? name.size() : i; // digits only: no run
}

QString significantDigits(const QString& name)
{
    QString run = name.mid(runStart(name));
    qsizetype zeros = 0;
    while (zeros < run.size() && run[zeros] == QLatin1Char('0'))
        ++zeros;
    return run.mid(zeros);
}
} // namespace

QString NaturalSortKey(const QString& name, int width)
{
    const QString digits = significantDigits(name);
    return name.left(runStart(name)) + QString(std::max<qsizetype>(0, width - digits.size()), '0') +
           digits;
}

void NaturalSort(QStringList& names)
{
    int width = 10;
    for (const QString& n : names)
        width = std::max<int>(width, int(significantDigits(n).size()));
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    QList<QPair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString& n : names)
        keyed.append({NaturalSortKey(n, width), n});
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        return collator.compare(a.first, b.first) < 0;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed[i].second;
}
