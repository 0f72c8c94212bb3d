// Any bytes as a catalogue file: at most 100 entries, and names are found where they stand.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "antenna/AntennaCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AntennaCatalogue catalogue;
    catalogue.ReadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(catalogue.count >= 0 && catalogue.count <= AntennaCatalogue::kCapacity);
    for (int i = 0; i < catalogue.count; ++i) {
        const int found = catalogue.IndexOfName(catalogue.entries[i].name);
        FUZZ_CHECK(found >= 0 && found <= i);
    }
    return 0;
}
