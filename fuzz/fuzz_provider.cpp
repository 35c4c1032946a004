// Arbitrary bytes as a provider file: whatever loads must save, and what was saved must read
// back as the same rows and switch, without a problem.
#include "providers/ProviderFile.h"
#include "support/Cp1252.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString describe(const ProviderFile::LoadResult& result) {
    QStringList rows{QString::number(result.listOn)};
    for (const ProviderEntry& row : result.rows) {
        QStringList columns;
        for (int column = 0; column < ProviderEntry::ColumnCount; ++column)
            columns << row.columnText(column);
        rows << columns.join(u'|');
    }
    return rows.join(u'\n') + u'\n' + result.problems.join(u'\n');
}

[[noreturn]] void fail(const char* what, const ProviderFile::LoadResult& first,
                       const ProviderFile::LoadResult& second) {
    std::fprintf(stderr, "%s\n--- first\n%s\n--- second\n%s\n", what, qPrintable(describe(first)),
                 qPrintable(describe(second)));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ProviderFile::LoadResult first;
    ProviderFile::parse(Cp1252::decode(bytes), first);

    QString error;
    const QByteArray saved = ProviderFile::serialize(first.rows, first.listOn, &error);
    ProviderFile::LoadResult second;
    if (saved.isEmpty())
        fail(qPrintable(QStringLiteral("what was loaded could not be saved: ") + error), first,
             second);
    ProviderFile::parse(Cp1252::decode(saved), second);
    if (!second.problems.isEmpty())
        fail("what was saved reads back with problems", first, second);
    if (second.listOn != first.listOn || second.rows != first.rows)
        fail("what was saved reads back differently", first, second);
    return 0;
}
