#pragma once

#include <optional>
#include <string>

#include "header/StationHeader.h"

// The longest header a raw file may get.
constexpr size_t kMaxHeaderLength = 4095;

// Takes the antenna height as the user typed it and rounds it to millimetres: the text is read in
// the OEM code page (more than 15 bytes read as empty), `antennaHeight` becomes the value
// rounded to three decimals and `antennaHeightText` its "%3.3f" form.
void NormaliseAntennaHeight(StationHeader& header, unsigned oemCodePage);

// The 22 header lines of `header`, each ended by CR LF, its texts in `ansiCodePage`;
// nothing when the text would be longer than kMaxHeaderLength.
std::optional<std::string> BuildHeaderText(const StationHeader& header, int measureTo,
                                           unsigned ansiCodePage);
