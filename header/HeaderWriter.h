#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "header/StationHeader.h"

// The longest header a raw file may get.
constexpr size_t kMaxHeaderLength = 4095;

// Takes the antenna height as the user typed it and rounds it to millimetres: the text, read in
// the OEM code page, must be one finite decimal number with nothing but blanks around it;
// `antennaHeight` becomes the value rounded to three decimals and `antennaHeightText` its
// "%3.3f" form. False, leaving the record as it was, for any other text.
bool NormaliseAntennaHeight(StationHeader& header, unsigned oemCodePage);

// A header line that holds a number with decimals, as the writer formats it.
struct NumberLine {
    // The field, named as tzrhdr's options name it.
    std::string_view field;
    double value;
    // The whole line, key included, without its CR LF.
    std::string text;
};

// The lines of `header` that hold numbers with decimals, in the order they are written.
std::vector<NumberLine> DecimalNumberLines(const StationHeader& header);

// The 22 header lines of `header`, each ended by CR LF, its texts in `ansiCodePage`;
// nothing when the text would be longer than kMaxHeaderLength.
std::optional<std::string> BuildHeaderText(const StationHeader& header, int measureTo,
                                           unsigned ansiCodePage);
