#include "providers/ProviderFile.h"

#include "providers/ProviderMessages.h"
#include "register/EntryLine.h"
#include "support/Cp1252.h"
#include "support/FieldReader.h"
#include "support/FileSaver.h"

#include <QFileInfo>

#include <array>
#include <limits>
#include <optional>

namespace {

constexpr int ValuesPerRow = 9;
const QString LineEnd = QStringLiteral("\r\n");

QString quoted(QString text) {
    ReplaceQuotes(text);
    return u'"' + text + u'"';
}

// Blank lines and blanks at the very end are no row of their own.
QString withoutTrailingBlankLines(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == u'\r' || text[end - 1] == u'\n' || text[end - 1] == u' ' ||
                       text[end - 1] == u'\t'))
        --end;
    return text.left(end);
}

// One row from the reader; nullopt once the end is reached or the row is damaged, in which
// case the problem is added. A damaged row stops the reading: the fields after it may have
// shifted, and a row read from shifted fields would be a wrong provider.
std::optional<ProviderEntry> readRow(FieldReader& reader, QStringList& problems) {
    namespace M = ProviderMessages;
    std::optional<FieldReader::Field> name = reader.next();
    while (name && name->blankLine)
        name = reader.next();
    if (!name)
        return std::nullopt;
    // A row read from mid-line, or through a blank line, would be made of shifted fields.
    if (!name->startsLine) {
        problems << M::RowOutOfPlace.arg(name->line).arg(name->text.trimmed());
        return std::nullopt;
    }
    std::array<FieldReader::Field, ValuesPerRow> fields;
    fields[0] = *name;
    for (int index = 1; index < ValuesPerRow; ++index) {
        std::optional<FieldReader::Field> field = reader.next();
        if (!field) {
            problems << M::RowCutShort.arg(name->line).arg(name->text.trimmed());
            return std::nullopt;
        }
        if (field->blankLine) {
            problems << M::RowOutOfPlace.arg(name->line).arg(name->text.trimmed());
            return std::nullopt;
        }
        fields[size_t(index)] = *field;
    }
    std::array<int, ValuesPerRow - 2> values{};
    for (int index = 0; index < ValuesPerRow - 2; ++index) {
        const FieldReader::Field& field = fields[size_t(index + 2)];
        const std::optional<qint64> value = FieldReader::toWholeNumber(field);
        if (!value) {
            problems << M::ValueNotNumber.arg(field.line)
                            .arg(name->text.trimmed(), M::ValueNames[index], field.text);
            return std::nullopt;
        }
        if (*value < std::numeric_limits<qint16>::min() ||
            *value > std::numeric_limits<qint16>::max()) {
            problems << M::ValueOutOfRange.arg(field.line)
                            .arg(name->text.trimmed(), M::ValueNames[index], field.text.trimmed());
            return std::nullopt;
        }
        values[size_t(index)] = int(*value);
    }
    return ProviderEntry::fromFlags(fields[0].text, fields[1].text, values[0], values[1], values[2],
                                    values[3], values[4], values[5], values[6]);
}

} // namespace

ProviderFile::ProviderFile(const QString& filePath, const QString& backupPath)
    : m_path(filePath), m_backupPath(backupPath) {}

void ProviderFile::parse(const QString& text, LoadResult& result) {
    namespace M = ProviderMessages;
    FieldReader reader(withoutTrailingBlankLines(text));
    const std::optional<FieldReader::Field> first = reader.next();
    if (!first) {
        result.problems << M::FileEmpty.arg(1);
        return;
    }
    if (const std::optional<qint64> value = FieldReader::toWholeNumber(*first))
        result.listOn = *value != 0;
    else
        result.problems << M::SwitchNotNumber.arg(first->line).arg(first->text);
    while (std::optional<ProviderEntry> row = readRow(reader, result.problems))
        result.rows << *row;
}

ProviderFile::LoadResult ProviderFile::load() const {
    LoadResult result;
    if (!QFileInfo::exists(m_path))
        return result;
    QByteArray bytes;
    if (!FileSaver::readFile(m_path, &bytes, &result.error)) {
        result.status = LoadStatus::Unreadable;
        return result;
    }
    parse(Cp1252::decode(bytes), result);
    if (result.problems.isEmpty()) {
        result.status = LoadStatus::Loaded;
        return result;
    }
    // The next save writes only what could be read: the original goes aside first.
    result.status = LoadStatus::LoadedWithProblems;
    result.preservedCopyPath = FileSaver::keepDamagedCopy(m_path, &result.problems);
    return result;
}

QByteArray ProviderFile::serialize(const QList<ProviderEntry>& rows, bool listOn,
                                   QString* errorText) {
    QString out = (listOn ? QStringLiteral("1") : QStringLiteral("0")) + LineEnd;
    for (const ProviderEntry& row : rows) {
        out += QStringList{quoted(row.Name),
                           quoted(row.NetworkNumber),
                           QString::number(row.moFrFlag()),
                           QString::number(row.saSoFlag()),
                           QString::number(row.StartHour),
                           QString::number(row.EndHour),
                           QString::number(row.Local ? 1 : 0),
                           QString::number(row.LongDistance ? 1 : 0),
                           QString::number(row.Abroad ? 1 : 0)}
                   .join(u',') +
               LineEnd;
    }
    if (const std::optional<QByteArray> bytes = Cp1252::encode(out))
        return *bytes;
    if (errorText) {
        QString culprit;
        for (const ProviderEntry& row : rows) {
            for (const QString& text : {row.Name, row.NetworkNumber}) {
                if (culprit.isEmpty() && !Cp1252::canEncode(text))
                    culprit = text;
            }
        }
        *errorText = ProviderMessages::TextNotStorable.arg(culprit);
    }
    return QByteArray();
}

bool ProviderFile::save(const QList<ProviderEntry>& rows, bool listOn, QString* errorText) const {
    QString reason;
    const QByteArray bytes = serialize(rows, listOn, &reason);
    if (bytes.isEmpty()) {
        if (errorText)
            *errorText = ProviderMessages::SaveFailed.arg(m_path, reason);
        return false;
    }
    return FileSaver::saveWithBackup(m_path, m_backupPath, bytes, errorText);
}
