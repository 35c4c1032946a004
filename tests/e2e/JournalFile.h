#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// What the program's call journal holds, read from its file beside the program while it runs.
// condition: SQL over the table's columns (number, router_id, seen, ...); -1 when unreadable.
inline int journalRows(const QString& path, const QString& condition) {
    int rows = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("journal"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() &&
            query.exec(QStringLiteral("SELECT COUNT(*) FROM calls WHERE ") + condition) &&
            query.next())
            rows = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("journal"));
    return rows;
}
