#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QList>
#include <QStringList>

// One phone book entry as the register file holds it.
struct PhoneEntry {
    QString name;
    QString number;
    int zeroFlag = 0;
};

// The entry lines of one card, always in German, case-insensitive order of the whole line
// (ties broken by code-point order, so the order is total). A list view shows it; the row a
// user sees is the row held here. Lines are kept without their padding, which would be most
// of a large phone book's memory, and put together again when asked for.
class CardModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The whole entry line; Qt::DisplayRole gives only the name.
    static constexpr int LineRole = Qt::UserRole + 1;

    explicit CardModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int count() const { return int(m_entries.size()); }
    // The whole entry line of a row, as the entry-line functions read it.
    QString line(int row) const;
    QString name(int row) const;
    QString number(int row) const;
    // The same without a copy, valid until the card changes.
    QStringView nameView(int row) const;
    QStringView numberView(int row) const;
    int zeroFlag(int row) const;
    // Every line in card order.
    QStringList lines() const;

    // Inserts at the sorted place and returns the row.
    int addLine(const QString& line);
    // Replaces the whole content, sorted once (fast for large cards).
    void setLines(const QStringList& lines);
    void setEntries(const QList<PhoneEntry>& entries);
    void removeLineAt(int row);
    void clear();

    // true when a comes before b in a card.
    bool lessThan(const QString& a, const QString& b) const;

private:
    // An entry line without its padding: the name followed by the tail (number, "~", flag).
    // nameLength -1: a line without padding, held whole.
    struct StoredLine {
        QString text;
        qsizetype nameLength = -1;
    };
    static StoredLine store(const QString& line);
    static QString lineOf(const StoredLine& stored);
    void sortAndReset(QList<StoredLine> stored);

    QList<StoredLine> m_entries;
    QCollator m_collator;
};
