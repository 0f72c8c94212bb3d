#include "cli/CodePageHint.h"

#include <algorithm>
#include <string>

#include "header/FieldTable.h"

namespace {

bool HasNonAscii(const std::wstring& text) {
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x80; });
}

}  // namespace

bool IsWesternSingleByte(unsigned codePage) {
    constexpr unsigned kWestern[] = {437, 850, 858, 1252, 10000, 28591, 28605};
    return std::find(std::begin(kWestern), std::end(kWestern), codePage) != std::end(kWestern);
}

void CodePageHint::Check(const StationHeader& header, std::ostream& err) {
    if (given_ || !IsWesternSingleByte(codePage_))
        return;
    for (const RecordField& field : RecordFields()) {
        if (field.kind == FieldKind::Text && HasNonAscii(field.print(header, codePage_))) {
            err << "tzrhdr: " << Fill(TextsIn(language_).codePageHint, {std::to_string(codePage_)})
                << "\n";
            given_ = true;
            return;
        }
    }
}
