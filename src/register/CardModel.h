#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QStringList>

// The entry lines of one card, always in German, case-insensitive order of the whole line
// (ties broken by code-point order, so the order is total). A list view shows it; the row a
// user sees is the row held here.
class CardModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The whole entry line; Qt::DisplayRole gives only the name.
    static constexpr int LineRole = Qt::UserRole + 1;

    explicit CardModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int count() const { return int(m_lines.size()); }
    const QString& line(int row) const { return m_lines.at(row); }
    const QStringList& lines() const { return m_lines; }

    // Inserts at the sorted place and returns the row.
    int addLine(const QString& line);
    // Replaces the whole content, sorted once (fast for large cards).
    void setLines(QStringList lines);
    void removeLineAt(int row);
    void clear();

    // true when a comes before b in a card.
    bool lessThan(const QString& a, const QString& b) const;

private:
    QStringList m_lines;
    QCollator m_collator;
};
