#include "header/StationHeader.h"

#include <utility>

void StationHeader::Reset() {
    StationHeader empty;
    empty.headerLoaded = headerLoaded;
    empty.nameParts = std::move(nameParts);
    *this = std::move(empty);
}
