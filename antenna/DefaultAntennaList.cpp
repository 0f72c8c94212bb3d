#include "antenna/DefaultAntennaList.h"

const std::array<DefaultAntennaRow, 46> DefaultAntennaList = {{
    {L"Unknown", {L"0.000000", L"0.000000", L"0.000000"}},
    {L"DRQK07          NONE", {L"0.073500", L"0.020300", L"0.037000"}},
    {L"DRQK01          NONE", {L"0.080000", L"0.018850", L"0.039000"}},
    {L"DRQK02          DRQD", {L"0.161000", L"0.079400", L"0.047500"}},
    {L"DRQK03          NONE", {L"0.101950", L"0.050100", L"0.040000"}},
    {L"DRQK04              ", {L"0.117000", L"0.048500", L"0.047000"}},
    {L"DRQK05          NONE", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQ K06", {L"0.080000", L"0.000000", L"0.006000"}},
    {L"DRQK08", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQ-K09", {L"0.117000", L"0.048500", L"0.047000"}},
    {L"DRQ-K10", {L"0.095000", L"0.050100", L"0.040000"}},
    {L"DRQ-K11", {L"0.095000", L"0.050100", L"0.040000"}},
    {L"DRQ-K12", {L"0.117000", L"0.048500", L"0.047000"}},
    {L"DRQ-K13", {L"0.095000", L"0.050100", L"0.040000"}},
    {L"DRQ-K14", {L"0.117000", L"0.048500", L"0.047000"}},
    {L"DRQK15", {L"0.070000", L"0.020500", L"0.005000"}},
    {L"DRQK16", {L"0.191000", L"0.087000", L"0.000000"}},
    {L"DRQK17", {L"0.128046290", L"0.017900", L"0.051500"}},
    {L"DRQK18", {L"0.124000000", L"0.1194", L"0.000000"}},
    {L"DRQK19", {L"0.124000000", L"0.1194", L"0.000000"}},
    {L"DRQK20", {L"0.087500000", L"0.0356165", L"0.030000"}},
    {L"DRQK21", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQK22", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQK23", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQK24", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQK25", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQK26", {L"0.099500", L"0.051000", L"0.040000"}},
    {L"DRQK27", {L"0.124000000", L"0.1194", L"0.000000"}},
    {L"DRQK28", {L"0.124000000", L"0.1194", L"0.000000"}},
    {L"DRQK29", {L"0.124000000", L"0.0675", L"0.000000"}},
    {L"DRQK30", {L"0.010000", L"0.062000", L"0.000000"}},
    {L"DRQK31", {L"0.124000", L"0.058850", L"0.000000"}},
    {L"DRQK32", {L"0.124", L"0.1010154", L"0.0"}},
    {L"DRQK33", {L"0.124", L"0.1010154", L"0.0"}},
    {L"DRQK34", {L"0.124", L"0.1010154", L"0.0"}},
    {L"DRQK35          DRQD", {L"0.161000", L"0.084450", L"0.047500"}},
    {L"DRQK18          NONE", {L"0.124000", L"0.1194", L"0.0"}},
    {L"DRQK36          NONE", {L"0.101950", L"0.049450", L"0.040000"}},
    {L"DRQK41", {L"0.124", L"0.1010154", L"0.0"}},
    {L"DRQK42", {L"0.10195", L"0.04945", L"0.040000"}},
    {L"DRQK43", {L"0.099500", L"0.051", L"0.040000"}},
    {L"DRQK37", {L"0.124", L"0.11965", L"0.000000"}},
    {L"DRQK38", {L"0.124", L"0.11965", L"0.000000"}},
    {L"DRQK39", {L"0.124", L"0.11965", L"0.000000"}},
    {L"DRQK40", {L"0.124", L"0.11965", L"0.000000"}},
    {L"End", {L"", L"", L""}},
}};

namespace {

// The built-in list is plain ASCII, one byte per character.
void AppendLine(std::string& text, std::wstring_view line) {
    for (wchar_t c : line)
        text += static_cast<char>(c);
    text += "\r\n";
}

}  // namespace

std::string DefaultCatalogueFileText() {
    std::string text;
    for (const DefaultAntennaRow& row : DefaultAntennaList) {
        if (row.name == L"End")
            break;
        AppendLine(text, L"[ANTENNA]");
        AppendLine(text, row.name);
        for (std::wstring_view value : row.values)
            AppendLine(text, value);
    }
    text += "[END]";
    return text;
}
