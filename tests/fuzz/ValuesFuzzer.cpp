// Any texts typed into the fields, the antenna height and X: the save either refuses them, naming
// the field, or writes a header from which the reader takes back exactly those texts, the height
// as the save rounded it and X to four decimals, and the data stay where they were.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderWriter.h"
#include "header/RawFileRewrite.h"
#include "header/SavePlan.h"

namespace {

constexpr unsigned kCodePage = 936;

constexpr std::array<std::wstring StationHeader::*, 8> kTextFields = {
    &StationHeader::stationName,     &StationHeader::stationCode,
    &StationHeader::antennaTypeName, &StationHeader::antennaNumber,
    &StationHeader::receiverNumber,  &StationHeader::receiverType,
    &StationHeader::receiverVersion, &StationHeader::timeOfFirstObs,
};

// After the text fields, the antenna height and X as typed.
constexpr size_t kTypedTexts = kTextFields.size() + 2;

// The input as UTF-16 code units, one field after another, separated by U+FFFF.
std::array<std::wstring, kTypedTexts> FieldTexts(const uint8_t* data, size_t size) {
    std::array<std::wstring, kTypedTexts> texts;
    size_t field = 0;
    for (size_t i = 0; i + 1 < size && field < texts.size(); i += 2) {
        const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0xFFFF)
            ++field;
        else
            texts[field] += unit;
    }
    return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::wstring path = ScratchRawFile();
    StationHeader header;
    header.version = 2.1;
    header.receiverIdText = "SN1";
    header.dateText = "2026-03-05";
    header.nameParts = SplitRawFilePath(path, L'/');
    const std::array<std::wstring, kTypedTexts> texts = FieldTexts(data, size);
    for (size_t i = 0; i < kTextFields.size(); ++i)
        header.*kTextFields[i] = texts[i].empty() ? L"x" : texts[i];
    header.antennaHeightText = texts[kTextFields.size()];
    // As the editor takes it: a text without a number keeps the value before.
    header.approxX = ScanWideDouble(texts[kTextFields.size() + 1]).value_or(0.0);

    const SavePlan plan = PlanSave(header, 1, kCodePage, kCodePage);
    if (plan.refusal) {
        FUZZ_CHECK(!plan.refusal->field.empty());
        FUZZ_CHECK(!plan.refusal->characters.empty() ||
                   plan.refusal->fault == ValueFault::NotANumber);
        return 0;
    }
    if (!plan.Writable() || HasLongLine(plan.headerText))
        return 0;
    const std::string observationData = "\x02observation data";
    const std::string file = plan.headerText + observationData;
    WriteScratch(path, reinterpret_cast<const uint8_t*>(file.data()), file.size());

    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    const StationHeader read = ReadScratchHeader(path, catalogue, kCodePage);
    FUZZ_CHECK(read.headerLoaded);
    for (size_t i = 1; i < kTextFields.size(); ++i)
        FUZZ_CHECK(read.*kTextFields[i] == header.*kTextFields[i]);
    FUZZ_CHECK(read.stationName == header.stationName);
    FUZZ_CHECK(read.antennaHeight == plan.antennaHeight);
    FUZZ_CHECK(FormatFixed(read.approxX, 4) == FormatFixed(header.approxX, 4));
    FUZZ_CHECK(static_cast<size_t>(read.headerRegionLength) == plan.headerText.size());
    return 0;
}
