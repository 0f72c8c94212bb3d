#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers in headers follow the C locale whatever the user's locale: full stop as decimal
// separator. The scanners read like sscanf with "%f", "%lf" and "%d": leading white space is
// skipped, one sign may follow, the number ends at the first byte that cannot continue it,
// nothing when no number starts there. Out-of-range values become infinity or zero; integers saturate.
std::optional<float> ScanFloat(std::string_view text);
std::optional<double> ScanDouble(std::string_view text);
std::optional<int> ScanInt(std::string_view text);

// The C functions' atof: the leading number, or 0.
double LeadingNumber(std::string_view text);

// printf "%.<decimals>f".
std::string FormatFixed(double value, int decimals);
// printf "%.<precision>g".
std::string FormatGeneral(double value, int precision);
// printf "%d".
std::string FormatInt(int value);

// The same scans on wide text as typed into a control; characters beyond ASCII end a number.
std::optional<double> ScanWideDouble(std::wstring_view text);
std::optional<int> ScanWideInt(std::wstring_view text);

// The editor shows floating-point fields with this many significant digits.
constexpr int kShownSignificantDigits = 15;

// The value as it comes back after being shown with kShownSignificantDigits and read again.
double RoundToShownDigits(double value);
