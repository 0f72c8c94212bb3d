#pragma once

#include <string_view>

#include "header/FieldTable.h"

// A spreadsheet that opens a comma-separated table takes every cell that looks like a number for
// one and saves it back as it shows it: "0400001" becomes "400001", "3.10" becomes "3.1",
// "400001000000" becomes "4.00001E+11". In a field of text that holds digits (receiver and
// antenna numbers, station code, receiver version) that is damage, not an edit.

// Whether the spreadsheet may have done that to the field: it is text, and editable.
bool SpreadsheetMayDamage(const RecordField& field);

// Whether `cell` is what a spreadsheet makes of `held` and differs from it: a number written as a
// spreadsheet writes one (no leading zeros, no zeros closing a fraction, no plus sign), either of
// the same value as `held`, or in E-notation, or with the fifteen digits a spreadsheet keeps, of
// `held` rounded to the digits it shows.
bool IsSpreadsheetDamage(std::wstring_view held, std::wstring_view cell);
