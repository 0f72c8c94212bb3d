#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "header/StationHeader.h"

// The header fields a surveyor corrects, as the editor offers them. Unset fields keep what the
// file holds.
struct FieldEdits {
    std::optional<std::wstring> station;
    std::optional<std::wstring> stationCode;
    std::optional<std::wstring> antennaHeight;
    std::optional<std::wstring> antennaType;
    std::optional<std::wstring> antennaNumber;
    std::optional<int> measureTo;
    std::optional<std::wstring> receiverNumber;
    std::optional<std::wstring> receiverType;
    std::optional<std::wstring> receiverVersion;
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> z;
};

// The names of the fields, as options ("--station") and as CSV columns ("station").
const std::vector<std::string_view>& FieldNames();

// Sets one field from its text; the error names what is wrong with the value.
bool SetField(FieldEdits& edits, std::string_view name, const std::wstring& value,
              const AntennaCatalogue& catalogue, std::string& error);

// Takes the edits into a record that was just read, the way the editor takes them from its
// controls: untouched coordinates come back as the editor shows them. Returns the measure-to
// code to write, or nothing when the record has no antenna to write (empty catalogue).
std::optional<int> ApplyEdits(const FieldEdits& edits, const AntennaCatalogue& catalogue,
                              StationHeader& header);
