// Arbitrary bytes as a register file: whatever loads must save, and what was saved must read
// back as it was loaded, without a new problem.
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterFile.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Everything a register holds, as text, with apostrophes for double quotes: the one change
// saving makes on purpose, since the file format has no escape for a quote. Entries sorted,
// since that change may move an entry within its card.
QStringList snapshot(const PhoneRegister& reg) {
    const DialSettings& s = reg.settings;
    QStringList all{QString::number(reg.DialHardware),
                    QString::number(s.ComPort),
                    QString::number(s.PulseDialing),
                    s.OutsideLinePrefix,
                    s.InternationalPrefix,
                    s.OwnCountryCode,
                    s.OwnAreaCode,
                    s.ExtraModemCommands,
                    s.HandoverNumber,
                    QString::number(s.HandoverEnabled),
                    QString::number(reg.EntryFontSize)};
    for (const QString& name : reg.cardNames)
        all << name;
    for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
        QStringList lines;
        for (const QString& line : reg.card(card)->lines())
            lines << GetEntryName(line) + u'|' + GetEntryNumber(line) + u'|' +
                         QString::number(GetEntryZeroFlag(line));
        for (QString& line : lines)
            ReplaceQuotes(line);
        lines.sort();
        all << lines;
    }
    for (QString& text : all)
        ReplaceQuotes(text);
    return all;
}

// A problem without its line number: the saved file may put a value on another line.
QStringList withoutLines(QStringList problems) {
    static const QRegularExpression lineNumber(QStringLiteral("^Zeile \\d+: "));
    for (QString& problem : problems)
        problem.remove(lineNumber);
    return problems;
}

[[noreturn]] void fail(const char* what, const QStringList& detail = {}) {
    std::fprintf(stderr, "%s\n%s\n", what, qPrintable(detail.join(QLatin1Char('\n'))));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    PhoneRegister first;
    QStringList problems;
    if (RegisterFile::readBytes(bytes, first, &problems) == RegisterFile::LoadStatus::Incompatible)
        return 0;

    QString error;
    const QByteArray saved = RegisterFile::serialize(first, &error);
    if (saved.isEmpty())
        fail("what was loaded could not be saved", {error});

    PhoneRegister second;
    QStringList secondProblems;
    // Values kept for the options page to show are reported again; nothing else may be.
    if (RegisterFile::readBytes(saved, second, &secondProblems) ==
        RegisterFile::LoadStatus::Incompatible)
        fail("what was saved is not a register");
    const QStringList earlier = withoutLines(problems);
    for (const QString& problem : withoutLines(secondProblems)) {
        if (!earlier.contains(problem))
            fail("what was saved reads back with a new problem", {problem});
    }
    const QStringList before = snapshot(first);
    const QStringList after = snapshot(second);
    if (before != after)
        fail("what was saved reads back differently", {before.join(u'/'), after.join(u'/')});
    return 0;
}
