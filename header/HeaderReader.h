#pragma once

#include <string>
#include <string_view>

#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReaderOwner.h"
#include "header/LegacyAntennaTable.h"
#include "header/StationHeader.h"

struct HeaderReadOptions {
    // 0 reads header text in the system's ANSI code page.
    unsigned codePage = 0;
    int legacyAntennaCount = LegacyAntennaCount();
};

// Fills `header` from the raw file at `path`, mapping its antenna type onto `catalogue`, and
// reports to `owner`. `header.headerLoaded` tells whether the whole header was taken.
void ReadStationHeader(const std::wstring& path, const AntennaCatalogue& catalogue,
                       StationHeader& header, HeaderReaderOwner& owner,
                       const HeaderReadOptions& options = {});

// The text up to its first CR or LF.
std::string_view CutLineEnds(std::string_view text);

std::wstring AnsiToWide(std::string_view text, unsigned codePage);
