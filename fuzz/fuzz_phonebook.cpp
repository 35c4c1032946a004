// Arbitrary bytes as a phone book of the router: the reader comes back with contacts or a
// reason, without a crash, a sanitizer finding or a hang.
#include "router/PhonebookReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PhonebookReader::read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
