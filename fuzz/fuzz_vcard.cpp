// Arbitrary bytes as a dropped or chosen vCard file: every entry it gives is clean.
#include "CleanOutput.h"
#include "contacts/ContactEntries.h"
#include "contacts/VCardReader.h"
#include "register/EntryLine.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ContactEntries entries = EntriesFromContacts(ReadVCards(bytes), QStringLiteral("49"), {});
    for (const QString& line : entries.lines)
        requireClean("vCard entry", GetEntryName(line), GetEntryNumber(line));
    ImportReport(entries);
    return 0;
}
