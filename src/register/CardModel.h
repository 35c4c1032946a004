#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QByteArrayView>
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
// user sees is the row held here. Lines are kept without their padding, in the register
// file's 8-bit Windows-1252, all of a card in one buffer, and decoded when asked for: a large
// phone book would otherwise take twice the memory and leave the heap full of small holes.
class CardModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The whole entry line; Qt::DisplayRole gives only the name.
    static constexpr int LineRole = Qt::UserRole + 1;

    explicit CardModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int count() const { return int(m_slots.size()); }
    // The whole entry line of a row, as the entry-line functions read it.
    QString line(int row) const;
    QString name(int row) const;
    QString number(int row) const;
    // Earlier views into the stored text; the text is 8-bit now, so these are copies too. Use
    // them within one expression only.
    QString nameView(int row) const { return name(row); }
    QString numberView(int row) const { return number(row); }
    // The same as the register file writes them, without a copy and valid until the card
    // changes; only for rows whose text Windows-1252 can hold (hasWindows1252Text).
    bool hasWindows1252Text(int row) const;
    QByteArrayView nameBytes(int row) const;
    QByteArrayView numberBytes(int row) const;
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
    // Where one line lies in m_text: the name followed by the tail (number, "~", flag).
    struct Slot {
        quint32 offset = 0;
        quint32 bytes = 0;
        qint32 nameLength = -1; // characters; -1: a line without padding, held whole
        // UTF-16 rather than Windows-1252: only a text the register file cannot store anyway.
        bool wide = false;
    };
    Slot append(QByteArray& text, QStringView name, QStringView tail) const;
    Slot appendLine(QByteArray& text, const QString& line) const;
    // Characters [from, from + count) of a slot's text; count -1: to the end.
    QString decoded(const Slot& slot, qsizetype from, qsizetype count = -1) const;
    void appendDecoded(QString& out, const Slot& slot, qsizetype from, qsizetype count) const;
    static qsizetype characters(const Slot& slot) {
        return slot.wide ? slot.bytes / 2 : slot.bytes;
    }
    QString lineOf(const Slot& slot) const;
    QByteArrayView bytesOf(const Slot& slot) const;
    bool inOrder(const QList<Slot>& lineSlots) const;
    void sortAndReset(QList<Slot> lineSlots, QByteArray text);
    // The lines in the card's order; the text they point into is already m_text.
    QList<Slot> sortedByKey(const QList<Slot>& lineSlots);
    // Lays the lines out again in card order, without the space of removed ones.
    static QByteArray compacted(QList<Slot>& lineSlots, QByteArrayView text);

    QList<Slot> m_slots;
    QByteArray m_text;
    qsizetype m_unusedBytes = 0; // of removed lines, still in m_text
    QCollator m_collator;
};
