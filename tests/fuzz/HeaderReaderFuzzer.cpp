// Any bytes as a raw file: the reader ends with a defined record and never reads past its file.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::wstring path = ScratchRawFile();
    const AntennaCatalogue& catalogue = DefaultCatalogue();
    WriteScratch(path, data, size);
    StationHeader header;
    HeaderReadOptions options;
    options.codePage = 936;
    ReadStationHeader(path, catalogue, header, options);
    if (header.headerLoaded) {
        FUZZ_CHECK(header.headerRegionLength >= 0);
        FUZZ_CHECK(static_cast<size_t>(header.headerRegionLength) <= size);
        FUZZ_CHECK(header.antennaTypeIndex >= 0 && header.antennaTypeIndex < catalogue.count);
        FUZZ_CHECK(header.measureTo >= 0 && header.measureTo <= 3);
    } else {
        FUZZ_CHECK(header.headerRegionLength == StationHeader::kMinimumRegionLength);
    }
    return 0;
}
