#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "header/StationHeader.h"

enum class ValueFault {
    // A control character would break the header's lines.
    ControlCharacter,
    // The station name becomes the file's name, and this one cannot be a single Windows file name.
    NotAFileName,
    // Characters that the header's code page cannot hold; they would be written as "?".
    NotInCodePage,
    // No number that the header can hold as it is meant: an antenna height that is not wholly
    // one decimal number, or a number that would not read back as written (not finite, or its
    // line longer than the reader takes in one piece).
    NotANumber,
};

struct ValueProblem {
    // The field, named as tzrhdr's options name it: "station", "receiver-type", ...
    std::string_view field;
    ValueFault fault;
    // The characters at fault, each once, in the order they stand; for NotANumber, the value;
    // for NotAFileName, the whole station when no one character is at fault (empty for an empty
    // station).
    std::wstring characters;
};

// The first text of the record that would break the header or move the file: a control
// character in any field, or a station name that is no plain file name.
std::optional<ValueProblem> FindValueThatBreaksTheHeader(const StationHeader& header);

// The first text of the record with characters that `codePage` cannot hold.
std::optional<ValueProblem> FindValueOutsideCodePage(const StationHeader& header,
                                                     unsigned codePage);

// The first number of the record that would not read back as it is written.
std::optional<ValueProblem> FindNumberThatDoesNotReadBack(const StationHeader& header);
