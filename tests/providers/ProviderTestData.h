#pragma once

#include "providers/ProviderEntry.h"
#include "providers/ProviderTableModel.h"

#include <QStringList>

// Provider rows written the way the editor fills them, and the list read back as texts.
namespace ProviderTestData {

// days: "Mo-Fr", "Sa-So", "Immer" or ""; types: a subset of "NFA".
inline ProviderEntry row(const QString& name, const QString& network, const QString& days,
                         int start, int end, const QString& types) {
    const bool moFr = days == QLatin1String("Mo-Fr") || days == QLatin1String("Immer");
    const bool saSo = days == QLatin1String("Sa-So") || days == QLatin1String("Immer");
    return ProviderEntry::fromFlags(name, network, moFr, saSo, start, end, types.contains(u'N'),
                                    types.contains(u'F'), types.contains(u'A'));
}

// Each row as its six column texts joined by "|".
inline QStringList texts(const QList<ProviderEntry>& rows) {
    QStringList all;
    for (const ProviderEntry& entry : rows) {
        QStringList columns;
        for (int column = 0; column < ProviderEntry::ColumnCount; ++column)
            columns << entry.columnText(column);
        all << columns.join(u'|');
    }
    return all;
}

inline QStringList names(const ProviderTableModel& model) {
    QStringList all;
    for (const ProviderEntry& entry : model.rows())
        all << entry.Name;
    return all;
}

} // namespace ProviderTestData
