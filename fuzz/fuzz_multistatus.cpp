// Arbitrary bytes as an address book server's multistatus answer: whatever a hostile or broken
// server sends, the reader comes back, without a crash, a sanitizer finding or a hang, and the
// vCards it hands on are read as the import reads them.
#include "contacts/MultistatusReader.h"
#include "contacts/VCardReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const MultistatusResponse& response : MultistatusReader::read(body).responses)
        ReadVCards(response.addressData.toUtf8());
    return 0;
}
