#include "register/RegisterFile.h"

#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterMessages.h"
#include "support/Cp1252.h"
#include "support/FieldReader.h"
#include "support/FileSaver.h"
#include "support/MemoryRelease.h"
#include "support/Paths.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

const QString RegisterFile::Header = QStringLiteral("[KURBELFON VERSION 4]");

namespace {

constexpr int SettingsFields = 13;
constexpr int MaxFontSize = 200;
const QString LineEnd = QStringLiteral("\r\n");

// The file encloses texts in double quotes, so a text never keeps one.
QString quoted(QString text) {
    ReplaceQuotes(text);
    return u'"' + text + u'"';
}

void appendQuotedBytes(QByteArray& out, QByteArrayView text) {
    out += '"';
    const qsizetype start = out.size();
    out += text;
    std::replace(out.begin() + start, out.end(), '"', '\'');
    out += '"';
}

QString fontSizeText(double size) {
    if (!std::isfinite(size))
        size = PhoneRegister::DefaultFontSize;
    return QString::number(size, 'f', QLocale::FloatingPointShortest);
}

// Reads the fields after the header and collects what does not fit.
class Parser {
public:
    Parser(const QString& text, int firstLine) : m_reader(text, firstLine), m_line(firstLine) {}

    QStringList problems;

    std::optional<FieldReader::Field> next() {
        std::optional<FieldReader::Field> field = m_reader.next();
        if (field)
            m_line = field->line;
        return field;
    }
    int line() const { return m_line; }

    // A 16-bit whole number, or nullopt once the problem is reported.
    std::optional<int> smallNumber(const FieldReader::Field& field, const QString& name,
                                   const QString& fallback) {
        const std::optional<qint64> number = FieldReader::toWholeNumber(field);
        if (!number) {
            problems
                << RegisterMessages::ValueNotNumber.arg(field.line).arg(name, field.text, fallback);
            return std::nullopt;
        }
        if (*number < std::numeric_limits<qint16>::min() ||
            *number > std::numeric_limits<qint16>::max()) {
            problems << RegisterMessages::ValueOutOfRange.arg(field.line)
                            .arg(name, field.text.trimmed(), fallback);
            return std::nullopt;
        }
        return int(*number);
    }

    // Values the options page cannot show are kept, so that it can offer the nearest choice.
    void checkRange(const FieldReader::Field& field, int value, int lowest, int highest,
                    const QString& name) {
        if (value < lowest || value > highest)
            problems << RegisterMessages::ValueToCheck.arg(field.line).arg(name).arg(value);
    }

    void readSetting(int index, const FieldReader::Field& field, PhoneRegister& reg);
    void readFontSize(const FieldReader::Field& field, PhoneRegister& reg);
    int readZeroFlag(const FieldReader::Field& field, const QString& name);

private:
    FieldReader m_reader;
    int m_line;
};

void Parser::readSetting(int index, const FieldReader::Field& field, PhoneRegister& reg) {
    namespace M = RegisterMessages;
    DialSettings& settings = reg.settings;
    switch (index) {
    case 0:
        if (const auto value = smallNumber(field, M::DialHardwareName, M::ModemDefault)) {
            reg.DialHardware = (*value == 0 || *value == 1) ? *value : 0;
            if (*value != reg.DialHardware)
                problems << M::ValueReplaced.arg(field.line)
                                .arg(M::DialHardwareName)
                                .arg(*value)
                                .arg(M::ModemDefault);
        }
        break;
    case 1:
        if (const auto value = smallNumber(field, M::ComPortName, QStringLiteral("1"))) {
            settings.ComPort = *value;
            checkRange(field, *value, 1, 16, M::ComPortName);
        }
        break;
    case 2:
        if (const auto value = smallNumber(field, M::PulseDialingName, QStringLiteral("0"))) {
            settings.PulseDialing = *value;
            checkRange(field, *value, 0, 1, M::PulseDialingName);
        }
        break;
    case 3:
    case 5: // the same value twice; the second one counts
        if (const auto value = smallNumber(field, M::ReservedName, QStringLiteral("0")))
            reg.ReservedSetting = *value;
        break;
    case 4:
        settings.OutsideLinePrefix = field.text;
        break;
    case 6:
        settings.InternationalPrefix = field.text;
        break;
    case 7:
        settings.OwnCountryCode = field.text;
        break;
    case 8:
        settings.OwnAreaCode = field.text;
        break;
    case 9:
        readFontSize(field, reg);
        break;
    case 10:
        settings.ExtraModemCommands = field.text;
        break;
    case 11:
        settings.HandoverNumber = field.text;
        break;
    case 12:
        if (const auto value = smallNumber(field, M::HandoverEnabledName, QStringLiteral("0"))) {
            settings.HandoverEnabled = *value;
            checkRange(field, *value, 0, 1, M::HandoverEnabledName);
        }
        break;
    }
}

void Parser::readFontSize(const FieldReader::Field& field, PhoneRegister& reg) {
    namespace M = RegisterMessages;
    const QString fallback = fontSizeText(PhoneRegister::DefaultFontSize);
    const std::optional<qint64> size = FieldReader::toWholeNumber(field);
    if (!size) {
        problems << M::ValueNotNumber.arg(field.line).arg(M::FontSizeName, field.text, fallback);
    } else if (*size < 1 || *size > MaxFontSize) {
        problems << M::ValueReplaced.arg(field.line)
                        .arg(M::FontSizeName, field.text.trimmed(), fallback);
    } else {
        reg.EntryFontSize = double(*size);
    }
}

int Parser::readZeroFlag(const FieldReader::Field& field, const QString& name) {
    const std::optional<qint64> flag = FieldReader::toWholeNumber(field);
    if (!flag || *flag < std::numeric_limits<qint16>::min() ||
        *flag > std::numeric_limits<qint16>::max()) {
        // Setting the flag is what a new entry gets, so it is the safer guess.
        problems << RegisterMessages::ZeroFlagInvalid.arg(field.line).arg(name, field.text);
        return 1;
    }
    return int(*flag & 1);
}

} // namespace

RegisterFile::RegisterFile(const QString& folder) : m_folder(Paths::addTrailingSeparator(folder)) {}

QString RegisterFile::RegisterFilePath() const {
    return m_folder + QStringLiteral("Telefonregister.ini");
}
QString RegisterFile::RegisterBackupPath() const {
    return m_folder + QStringLiteral("Telefonregister.bak");
}
QString RegisterFile::ProviderFilePath() const {
    return m_folder + QStringLiteral("Provider.ini");
}
QString RegisterFile::ProviderBackupPath() const {
    return m_folder + QStringLiteral("Provider.bak");
}

QByteArray RegisterFile::serialize(const PhoneRegister& reg, QString* errorText) {
    const DialSettings& s = reg.settings;
    QStringList texts; // of the settings and card names, to name one that cannot be stored
    auto text = [&texts](const QString& value) {
        texts << value;
        return quoted(value);
    };
    const QString reserved = QString::number(reg.ReservedSetting);

    QString out = Header + LineEnd;
    out += QStringList{QString::number(reg.DialHardware),
                       QString::number(s.ComPort),
                       QString::number(s.PulseDialing),
                       reserved,
                       text(s.OutsideLinePrefix),
                       reserved,
                       text(s.InternationalPrefix),
                       text(s.OwnCountryCode),
                       text(s.OwnAreaCode),
                       fontSizeText(reg.EntryFontSize),
                       text(s.ExtraModemCommands),
                       text(s.HandoverNumber),
                       QString::number(s.HandoverEnabled)}
               .join(u',') +
           LineEnd;

    QStringList names;
    for (const QString& name : reg.cardNames)
        names << text(name);
    out += names.join(u',') + LineEnd;

    std::optional<QByteArray> bytes = Cp1252::encode(out);
    if (!bytes) {
        if (errorText) {
            const auto culprit = std::find_if(texts.cbegin(), texts.cend(), [](const QString& t) {
                return !Cp1252::canEncode(t);
            });
            *errorText = RegisterMessages::TextNotStorable.arg(culprit == texts.cend() ? QString()
                                                                                       : *culprit);
        }
        return QByteArray();
    }

    // The cards hold their text in the file's own encoding: copied as it is.
    qsizetype entryCount = 0;
    for (int card = 1; card <= PhoneRegister::CardCount; ++card)
        entryCount += reg.card(card)->count();
    bytes->reserve(bytes->size() + entryCount * 48);
    for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
        const CardModel* entries = reg.card(card);
        for (int row = 0; row < entries->count(); ++row) {
            *bytes += char('0' + card);
            *bytes += ',';
            if (entries->hasWindows1252Text(row)) {
                appendQuotedBytes(*bytes, Cp1252::trimmed(entries->nameBytes(row)));
                *bytes += ',';
                appendQuotedBytes(*bytes, Cp1252::trimmed(entries->numberBytes(row)));
            } else {
                // A text that no Windows-1252 byte can hold ends here, unless the codec
                // knows better.
                const std::optional<QByteArray> name = Cp1252::encode(entries->name(row).trimmed());
                const std::optional<QByteArray> number =
                    Cp1252::encode(entries->number(row).trimmed());
                if (!name || !number) {
                    if (errorText)
                        *errorText = RegisterMessages::TextNotStorable.arg(
                            name ? entries->number(row) : entries->name(row));
                    return QByteArray();
                }
                appendQuotedBytes(*bytes, *name);
                *bytes += ',';
                appendQuotedBytes(*bytes, *number);
            }
            *bytes += ',';
            const int flag = entries->zeroFlag(row);
            if (flag >= 0 && flag <= 9)
                *bytes += char('0' + flag);
            else
                *bytes += QByteArray::number(flag);
            *bytes += "\r\n";
        }
    }
    return *bytes;
}

QStringList RegisterFile::ReadRegisterFile(const QString& afterHeader, int firstLine,
                                           PhoneRegister& reg) {
    namespace M = RegisterMessages;
    Parser parser(afterHeader, firstLine);

    for (int index = 0; index < SettingsFields; ++index) {
        const std::optional<FieldReader::Field> field = parser.next();
        if (!field) {
            parser.problems << M::SettingsCutShort.arg(parser.line()).arg(index);
            return parser.problems;
        }
        parser.readSetting(index, *field, reg);
    }

    for (int card = 0; card < PhoneRegister::CardCount; ++card) {
        const std::optional<FieldReader::Field> field = parser.next();
        if (!field) {
            parser.problems << M::CardNamesCutShort.arg(parser.line()).arg(card);
            return parser.problems;
        }
        reg.cardNames[size_t(card)] = field->text;
    }

    // Collected per card and sorted once: adding line by line is slow for large cards.
    std::array<QList<PhoneEntry>, PhoneRegister::CardCount> lines;
    while (const std::optional<FieldReader::Field> cardField = parser.next()) {
        const std::optional<qint64> card = FieldReader::toWholeNumber(*cardField);
        if (card && *card == 0) {
            // Card 0 or a blank line ends the entries. Anything after it would be gone with
            // the next save, so it is reported rather than dropped unseen.
            while (const std::optional<FieldReader::Field> rest = parser.next()) {
                if (!rest->text.isEmpty()) {
                    parser.problems << M::ContentAfterEnd.arg(rest->line);
                    break;
                }
            }
            break;
        }
        const int line = cardField->line;
        const std::optional<FieldReader::Field> name = parser.next();
        if (!name) {
            parser.problems << M::EntryCutShortUnnamed.arg(line);
            break;
        }
        const QString entryName = name->text.trimmed();
        const std::optional<FieldReader::Field> number = parser.next();
        const std::optional<FieldReader::Field> flag =
            number ? parser.next() : std::optional<FieldReader::Field>();
        if (!flag) {
            parser.problems << M::EntryCutShort.arg(line).arg(entryName);
            break;
        }
        if (!card) {
            parser.problems << M::CardNumberNotNumber.arg(line).arg(cardField->text, entryName);
            continue;
        }
        if (*card < 1 || *card > PhoneRegister::CardCount) {
            parser.problems << M::CardNumberInvalid.arg(line).arg(*card).arg(entryName);
            continue;
        }
        if (HoldsEntryPadding(entryName)) {
            parser.problems << M::NameHoldsPadding.arg(line).arg(
                entryName.left(entryName.indexOf(EntryPadding())));
            continue;
        }
        const int zeroFlag = parser.readZeroFlag(*flag, entryName);
        lines[size_t(*card - 1)].append({entryName, number->text, zeroFlag});
    }
    for (int card = 1; card <= PhoneRegister::CardCount; ++card)
        reg.card(card)->setEntries(lines[size_t(card - 1)]);
    return parser.problems;
}

RegisterFile::LoadStatus RegisterFile::readBytes(const QByteArray& bytes, PhoneRegister& reg,
                                                 QStringList* problems) {
    QString text = Cp1252::decode(bytes);
    qsizetype lineEnd = 0;
    while (lineEnd < text.size() && text[lineEnd] != u'\r' && text[lineEnd] != u'\n')
        ++lineEnd;
    if (text.left(lineEnd).trimmed() != Header)
        return LoadStatus::Incompatible;
    qsizetype restStart = lineEnd;
    if (restStart < text.size())
        restStart += text.mid(restStart, 2) == LineEnd ? 2 : 1;

    // In place: a large phone book's text is not copied once more.
    text.remove(0, restStart);
    *problems = ReadRegisterFile(text, 2, reg);
    return problems->isEmpty() ? LoadStatus::Loaded : LoadStatus::LoadedWithProblems;
}

RegisterFile::LoadResult RegisterFile::load(PhoneRegister& reg) const {
    LoadResult result;
    const QString path = RegisterFilePath();
    if (!QFileInfo::exists(path)) {
        result.status = QFileInfo::exists(RegisterBackupPath()) ? LoadStatus::MissingWithBackup
                                                                : LoadStatus::Missing;
        return result;
    }

    QByteArray bytes;
    if (!FileSaver::readFile(path, &bytes, &result.error)) {
        result.status = LoadStatus::Incompatible;
        return result;
    }
    result.status = readBytes(bytes, reg, &result.problems);
    bytes = QByteArray();
    ReleaseFreedMemory();
    if (result.status != LoadStatus::LoadedWithProblems)
        return result;

    // The next save rewrites the file from what could be read: keep the original first.
    result.preservedCopyPath = FileSaver::keepDamagedCopy(path, &result.problems);
    return result;
}

bool RegisterFile::save(PhoneRegister& reg, QString* errorText) const {
    // These four keep the apostrophes in memory too, as the file holds them.
    ReplaceQuotes(reg.settings.OutsideLinePrefix);
    ReplaceQuotes(reg.settings.InternationalPrefix);
    ReplaceQuotes(reg.settings.ExtraModemCommands);
    ReplaceQuotes(reg.settings.HandoverNumber);

    QString reason;
    QByteArray bytes = serialize(reg, &reason);
    if (bytes.isEmpty()) {
        if (errorText)
            *errorText = RegisterMessages::SaveFailed.arg(RegisterFilePath(), reason);
        return false;
    }
    const bool saved =
        FileSaver::saveWithBackup(RegisterFilePath(), RegisterBackupPath(), bytes, errorText);
    bytes = QByteArray();
    ReleaseFreedMemory();
    return saved;
}

bool RegisterFile::restoreBackup(QString* errorText) const {
    return FileSaver::copyFile(RegisterBackupPath(), RegisterFilePath(), errorText);
}
