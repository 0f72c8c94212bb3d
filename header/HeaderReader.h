#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "header/LegacyAntennaTable.h"
#include "header/MessageIcon.h"
#include "header/StationHeader.h"

struct HeaderReadOptions {
    // 0 reads header text in the system's ANSI code page.
    unsigned codePage = 0;
    int legacyAntennaCount = LegacyAntennaCount();
};

// One thing the user is to be shown while a file is read.
struct ReaderStep {
    enum class Kind { Path, Message, Record, TimeOfFirstObs };
    Kind kind;
    // The path, the message, or the time of the first observation.
    std::wstring text;
    MessageIcon icon = MessageIcon::Information;
};

// What the user is to be shown of a read, in the order it is to be shown.
struct ReaderReport {
    std::vector<ReaderStep> steps;

    // The texts of the messages alone, for a tool that shows no window.
    std::vector<std::wstring> Messages() const;
};

// Fills `header` from the raw file at `path`, mapping its antenna type onto `catalogue`.
// `header.headerLoaded` tells whether the whole header was taken.
ReaderReport ReadStationHeader(const std::wstring& path, const AntennaCatalogue& catalogue,
                               StationHeader& header, const HeaderReadOptions& options = {});

// The text up to its first CR or LF.
std::string_view CutLineEnds(std::string_view text);

std::wstring AnsiToWide(std::string_view text, unsigned codePage);
