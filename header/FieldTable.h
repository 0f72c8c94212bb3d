#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "antenna/AntennaCatalogue.h"
#include "header/StationHeader.h"

// Numbers compare by value and stand bare in JSON; texts compare exactly and are quoted.
enum class FieldKind { Text, Number };

// One field of the station record, named once for every place that shows or takes it: the
// option and table column (`name`), the JSON key and the header lines it lives in.
struct RecordField {
    std::string_view name;
    std::string_view jsonKey;
    // The header lines the reader takes the value from, a later one overriding an earlier one.
    std::array<std::string_view, 2> headerKeys;
    // What the value is, for help texts.
    std::string_view meaning;
    FieldKind kind;
    // The value as the editor shows it; bytes that the record keeps unconverted are decoded in
    // `codePage`.
    std::wstring (*print)(const StationHeader& header, unsigned codePage);
    // Takes a value as a user types it; null for a read-only field. Returns why the value cannot
    // be taken.
    std::optional<std::string> (*take)(StationHeader& header, std::wstring_view value,
                                       const AntennaCatalogue& catalogue);

    bool Editable() const { return take != nullptr; }
};

// Every field, the editable ones first; records and tables list them in this order.
std::span<const RecordField> RecordFields();

// The field of that name, or null.
const RecordField* FindRecordField(std::string_view name);

// Takes a value into an editable field; why not, naming the field, when it cannot be taken.
std::optional<std::string> TakeFieldValue(const RecordField& field, StationHeader& header,
                                          std::wstring_view value,
                                          const AntennaCatalogue& catalogue);

// Whether giving `value` leaves the field as the record holds it ("1.5" keeps an antenna height
// shown as "1.500", a label keeps its measure-to code).
bool KeepsFieldValue(const RecordField& field, const StationHeader& header, std::wstring_view value,
                     const AntennaCatalogue& catalogue, unsigned codePage);
