#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "header/StationHeader.h"

// Numbers compare by value and stand bare in JSON; texts compare exactly and are quoted.
enum class FieldKind { Text, Number };

// Why a value cannot be taken into a field.
enum class FieldValueFault {
    ReadOnly,
    NotANumber,
    NotANumberOfMetres,
    // A number whose header line would not read back whole.
    OutOfRange,
    NotInCatalogue,
    // Neither a measure-to code nor one of its labels.
    NotAMeasureTo,
};

struct FieldValueProblem {
    // The field's name.
    std::string_view field;
    FieldValueFault fault;
    std::wstring value;
    // Of an antenna name the catalogue lacks: the catalogue's names closest to it, closest first.
    std::vector<std::wstring> closest;
};

// One field of the station record, named once for every place that shows or takes it: its name,
// which is also its column in campaign tables, and the header lines it lives in.
struct RecordField {
    std::string_view name;
    // The header lines the reader takes the value from, a later one overriding an earlier one.
    std::array<std::string_view, 2> headerKeys;
    FieldKind kind;
    // The value as the editor shows it; bytes that the record keeps unconverted are decoded in
    // `codePage`.
    std::wstring (*print)(const StationHeader& header, unsigned codePage);
    // Takes a value as a user types it; null for a read-only field. Returns why the value cannot
    // be taken.
    std::optional<FieldValueProblem> (*take)(StationHeader& header, std::wstring_view value,
                                             const AntennaCatalogue& catalogue);

    bool Editable() const { return take != nullptr; }
};

// Every field, the editable ones first; records and tables list them in this order.
std::span<const RecordField> RecordFields();

// The field of that name, or null.
const RecordField* FindRecordField(std::string_view name);

// Takes a value into an editable field; why not when it cannot be taken.
std::optional<FieldValueProblem> TakeFieldValue(const RecordField& field, StationHeader& header,
                                                std::wstring_view value,
                                                const AntennaCatalogue& catalogue);

// Whether giving `value` leaves the field as the record holds it ("1.5" keeps an antenna height
// shown as "1.500", a label keeps its measure-to code).
bool KeepsFieldValue(const RecordField& field, const StationHeader& header, std::wstring_view value,
                     const AntennaCatalogue& catalogue, unsigned codePage);
