// Any texts typed into the fields: the save either refuses them, naming the field, or writes a
// header from which the reader takes back exactly those texts, and the data stay where they were.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
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

// The input as UTF-16 code units, one field after another, separated by U+FFFF.
std::array<std::wstring, kTextFields.size()> FieldTexts(const uint8_t* data, size_t size) {
    std::array<std::wstring, kTextFields.size()> texts;
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
    const std::array<std::wstring, kTextFields.size()> texts = FieldTexts(data, size);
    for (size_t i = 0; i < texts.size(); ++i)
        header.*kTextFields[i] = texts[i].empty() ? L"x" : texts[i];

    const SavePlan plan = PlanSave(header, 1, kCodePage, kCodePage);
    if (plan.refusal) {
        FUZZ_CHECK(!plan.refusal->field.empty() && !plan.refusal->characters.empty());
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
    FUZZ_CHECK(static_cast<size_t>(read.headerRegionLength) == plan.headerText.size());
    return 0;
}
