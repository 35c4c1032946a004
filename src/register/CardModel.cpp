#include "register/CardModel.h"

#include "register/EntryLine.h"
#include "support/Cp1252.h"

#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

// Characters that the collator weighs like a blank, or not at all: a run of them in a name
// meets the padding's blanks when two lines are compared.
bool extendsBlankRun(QChar c) {
    switch (c.category()) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return true;
    default:
        return c.isSpace();
    }
}

qsizetype longestBlankRun(QStringView text) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = extendsBlankRun(c) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The same for Windows-1252 bytes, from a table: it runs over every name of a large card.
qsizetype longestBlankRun(QByteArrayView bytes) {
    static const std::array<bool, 256> blank = [] {
        QByteArray all(256, '\0');
        for (int byte = 0; byte < 256; ++byte)
            all[byte] = char(byte);
        QString characters;
        Cp1252::appendDecoded(characters, all);
        std::array<bool, 256> table{};
        for (int byte = 0; byte < 256; ++byte)
            table[size_t(byte)] = extendsBlankRun(characters.at(byte));
        return table;
    }();
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const char byte : bytes) {
        run = blank[uchar(byte)] ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

CardModel::CardModel(QObject* parent)
    : QAbstractListModel(parent), m_collator(QLocale(QLocale::German)) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int CardModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant CardModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count())
        return QVariant();
    if (role == Qt::DisplayRole)
        return name(index.row());
    if (role == LineRole)
        return line(index.row());
    return QVariant();
}

CardModel::Slot CardModel::append(QByteArray& text, QStringView name, QStringView tail) const {
    Slot slot;
    slot.offset = quint32(text.size());
    slot.nameLength = qint32(name.size());
    if (!Cp1252::appendEncoded(text, name) || !Cp1252::appendEncoded(text, tail)) {
        text.truncate(slot.offset);
        slot.wide = true;
        text.append(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
        text.append(reinterpret_cast<const char*>(tail.utf16()), tail.size() * 2);
    }
    slot.bytes = quint32(text.size() - slot.offset);
    return slot;
}

CardModel::Slot CardModel::appendLine(QByteArray& text, const QString& line) const {
    const qsizetype at = line.indexOf(EntryPadding());
    if (at < 0) {
        Slot slot = append(text, line, {});
        slot.nameLength = -1;
        return slot;
    }
    const QStringView view(line);
    return append(text, view.left(at), view.mid(at + EntryPadding().size()));
}

QByteArrayView CardModel::bytesOf(const Slot& slot) const {
    return QByteArrayView(m_text).sliced(slot.offset, slot.bytes);
}

void CardModel::appendDecoded(QString& out, const Slot& slot, qsizetype from,
                              qsizetype count) const {
    const QByteArrayView bytes = bytesOf(slot);
    if (slot.wide) {
        // Copied bytewise: a wide line need not start on an even address.
        const qsizetype start = out.size();
        out.resize(start + count);
        std::memcpy(out.data() + start, bytes.data() + from * 2, size_t(count) * 2);
    } else
        Cp1252::appendDecoded(out, bytes.sliced(from, count));
}

QString CardModel::decoded(const Slot& slot, qsizetype from, qsizetype count) const {
    if (count < 0)
        count = characters(slot) - from;
    QString text;
    appendDecoded(text, slot, from, count);
    return text;
}

QString CardModel::lineOf(const Slot& slot) const {
    if (slot.nameLength < 0)
        return decoded(slot, 0);
    const qsizetype length = characters(slot);
    QString text;
    text.reserve(length + EntryPadding().size());
    appendDecoded(text, slot, 0, slot.nameLength);
    text.append(EntryPadding());
    appendDecoded(text, slot, slot.nameLength, length - slot.nameLength);
    return text;
}

QString CardModel::line(int row) const {
    return lineOf(m_slots.at(row));
}

QString CardModel::name(int row) const {
    const Slot& slot = m_slots.at(row);
    return decoded(slot, 0, slot.nameLength < 0 ? -1 : slot.nameLength);
}

QString CardModel::number(int row) const {
    const Slot& slot = m_slots.at(row);
    if (slot.nameLength < 0)
        return QString();
    const qsizetype tail = characters(slot) - slot.nameLength;
    return tail < 2 ? QString() : decoded(slot, slot.nameLength, tail - 2);
}

int CardModel::zeroFlag(int row) const {
    const Slot& slot = m_slots.at(row);
    if (slot.nameLength < 0 || characters(slot) == slot.nameLength)
        return 0;
    // The digits are the same byte in Windows-1252: no need to decode the tail.
    const QByteArrayView bytes = bytesOf(slot);
    char16_t last = 0;
    if (slot.wide)
        std::memcpy(&last, bytes.data() + bytes.size() - 2, 2);
    else
        last = char16_t(uchar(bytes.back()));
    return ZeroFlagOfTail(QStringView(&last, 1));
}

bool CardModel::hasWindows1252Text(int row) const {
    return !m_slots.at(row).wide;
}

QByteArrayView CardModel::nameBytes(int row) const {
    const Slot& slot = m_slots.at(row);
    const QByteArrayView bytes = bytesOf(slot);
    return slot.nameLength < 0 ? bytes : bytes.first(slot.nameLength);
}

QByteArrayView CardModel::numberBytes(int row) const {
    const Slot& slot = m_slots.at(row);
    if (slot.nameLength < 0)
        return {};
    const QByteArrayView tail = bytesOf(slot).sliced(slot.nameLength);
    return tail.size() < 2 ? QByteArrayView() : tail.chopped(2);
}

QStringList CardModel::lines() const {
    QStringList all;
    all.reserve(m_slots.size());
    for (const Slot& slot : m_slots)
        all << lineOf(slot);
    return all;
}

bool CardModel::lessThan(const QString& a, const QString& b) const {
    const int order = m_collator.compare(a, b);
    if (order != 0)
        return order < 0;
    return a < b;
}

int CardModel::addLine(const QString& line) {
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (lessThan(line, this->line(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    const Slot slot = appendLine(m_text, line);
    beginInsertRows(QModelIndex(), low, low);
    m_slots.insert(low, slot);
    endInsertRows();
    return low;
}

void CardModel::setLines(const QStringList& lines) {
    qsizetype bytes = 0;
    for (const QString& entry : lines)
        bytes += entry.size();
    QByteArray text;
    text.reserve(bytes);
    QList<Slot> lineSlots;
    lineSlots.reserve(lines.size());
    for (const QString& entry : lines)
        lineSlots.append(appendLine(text, entry));
    sortAndReset(std::move(lineSlots), std::move(text));
}

void CardModel::setEntries(const QList<PhoneEntry>& entries) {
    qsizetype bytes = 0;
    for (const PhoneEntry& entry : entries)
        bytes += entry.name.size() + entry.number.size() + 2;
    QByteArray text;
    text.reserve(bytes);
    QList<Slot> lineSlots;
    lineSlots.reserve(entries.size());
    QString tail;
    for (const PhoneEntry& entry : entries) {
        tail.resize(0);
        tail += QStringView(entry.number).trimmed();
        tail += u'~';
        tail += QChar(char16_t(u'0' + entry.zeroFlag));
        lineSlots.append(append(text, QStringView(entry.name).trimmed(), tail));
    }
    sortAndReset(std::move(lineSlots), std::move(text));
}

bool CardModel::inOrder(const QList<Slot>& lineSlots) const {
    QString previous;
    for (const Slot& slot : lineSlots) {
        QString current = lineOf(slot);
        if (!previous.isNull() && lessThan(current, previous))
            return false;
        previous = std::move(current);
    }
    return true;
}

void CardModel::sortAndReset(QList<Slot> lineSlots, QByteArray text) {
    // Swapped in so that the slots can be decoded; the view learns of it at the reset below.
    std::swap(m_text, text);
    // A file the program wrote holds each card in order: checking that costs a comparison a
    // line, sorting a collation key for every line and then the keys.
    if (!inOrder(lineSlots))
        lineSlots = sortedByKey(lineSlots);
    const QByteArray laidOut = compacted(lineSlots, m_text);
    std::swap(m_text, text);
    beginResetModel();
    m_slots = std::move(lineSlots);
    m_text = laidOut;
    m_unusedBytes = 0;
    endResetModel();
}

QList<CardModel::Slot> CardModel::sortedByKey(const QList<Slot>& lineSlots) {
    // The padding's 150 blanks make up most of a line's sort key. Fewer blanks order the lines
    // the same as long as no name holds as long a run of blanks: up to that point the padding
    // meets the same characters either way.
    qsizetype blanks = 1;
    // One buffer for every line's text: clear() would give it back each time.
    QString piece;
    piece.reserve(1024);
    for (const Slot& slot : std::as_const(lineSlots)) {
        if (slot.nameLength > 0 && !slot.wide) {
            blanks = std::max(blanks, longestBlankRun(bytesOf(slot).first(slot.nameLength)) + 1);
        } else if (slot.nameLength > 0) {
            piece.resize(0);
            appendDecoded(piece, slot, 0, slot.nameLength);
            blanks = std::max(blanks, longestBlankRun(piece) + 1);
        }
    }
    const QString padding = QString(std::min(blanks, EntryPadding().size() - 1), u' ') + QChar(1);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(lineSlots.size()));
    for (const Slot& slot : std::as_const(lineSlots)) {
        piece.resize(0);
        if (slot.nameLength < 0) {
            appendDecoded(piece, slot, 0, characters(slot));
        } else {
            appendDecoded(piece, slot, 0, slot.nameLength);
            piece += padding;
            appendDecoded(piece, slot, slot.nameLength, characters(slot) - slot.nameLength);
        }
        keys.push_back(m_collator.sortKey(piece));
    }
    std::vector<qsizetype> order(size_t(lineSlots.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        if (byKey != 0)
            return byKey < 0;
        return lineOf(lineSlots.at(a)) < lineOf(lineSlots.at(b));
    });
    keys = {};
    QList<Slot> sorted;
    sorted.reserve(lineSlots.size());
    for (qsizetype index : order)
        sorted.append(lineSlots.at(index));
    return sorted;
}

QByteArray CardModel::compacted(QList<Slot>& lineSlots, QByteArrayView text) {
    qsizetype bytes = 0;
    for (const Slot& slot : std::as_const(lineSlots))
        bytes += slot.bytes;
    QByteArray laidOut;
    laidOut.reserve(bytes);
    for (Slot& slot : lineSlots) {
        const quint32 offset = quint32(laidOut.size());
        laidOut.append(text.sliced(slot.offset, slot.bytes));
        slot.offset = offset;
    }
    return laidOut;
}

void CardModel::removeLineAt(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_unusedBytes += m_slots.at(row).bytes;
    m_slots.removeAt(row);
    // Removed lines are left where they lie until they make up half of the buffer.
    if (m_unusedBytes > 4096 && m_unusedBytes * 2 > m_text.size()) {
        m_text = compacted(m_slots, m_text);
        m_unusedBytes = 0;
    }
    endRemoveRows();
}

void CardModel::clear() {
    beginResetModel();
    m_slots.clear();
    m_text.clear();
    m_unusedBytes = 0;
    endResetModel();
}
