// Arbitrary bytes as a router's answer to a dial helper action: whatever a hostile or broken
// router sends, the reader comes back, without a crash, a sanitizer finding or a hang.
#include "router/SoapMessage.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    SoapMessage::parse(body, QStringLiteral("X_AVM-DE_DialGetConfig"));
    return 0;
}
