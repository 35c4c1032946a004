// Arbitrary bytes as the router's call list: the reader comes back with calls or a reason,
// without a crash, a sanitizer finding or a hang.
#include "router/CallListReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CallListReader::read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
