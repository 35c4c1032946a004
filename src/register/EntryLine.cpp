#include "register/EntryLine.h"

namespace {
constexpr int PaddingBlanks = 150;
}

const QString& EntryPadding() {
    static const QString padding = QString(PaddingBlanks, u' ') + QChar(1);
    return padding;
}

bool HoldsEntryPadding(const QString& text) {
    return text.contains(EntryPadding());
}

QString MakeEntryLine(const QString& name, const QString& number, int zeroFlag) {
    return name.trimmed() + EntryPadding() + number.trimmed() + u'~' +
           QChar(char16_t(u'0' + zeroFlag));
}

QString GetEntryTail(const QString& line) {
    const qsizetype at = line.indexOf(EntryPadding());
    if (at < 0)
        return QString();
    return line.mid(at + EntryPadding().size());
}

QString GetEntryName(const QString& line) {
    const qsizetype at = line.indexOf(EntryPadding());
    return at < 0 ? line : line.left(at);
}

QString NumberOfTail(const QString& tail) {
    return tail.size() < 2 ? QString() : tail.chopped(2);
}

int ZeroFlagOfTail(QStringView tail) {
    if (tail.isEmpty())
        return 0;
    const QChar digit = tail.back();
    return digit >= u'0' && digit <= u'9' ? digit.unicode() - u'0' : 0;
}

QString GetEntryNumber(const QString& line) {
    return NumberOfTail(GetEntryTail(line));
}

int GetEntryZeroFlag(const QString& line) {
    return ZeroFlagOfTail(GetEntryTail(line));
}

void ReplaceQuotes(QString& text) {
    text.replace(u'"', u'\'');
}
