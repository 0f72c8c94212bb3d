// Any raw file that reads: saving it without edits keeps every byte of its observation data,
// and reading the saved file gives the same fields, within the roundings the layout documents.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "antenna/AntennaCatalogue.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderReader.h"
#include "header/HeaderText.h"
#include "header/RawFileRewrite.h"
#include "header/SavePlan.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace {

constexpr unsigned kCodePage = 1252;

bool SameRounded(double a, double b, int decimals) {
    return FormatFixed(a, decimals) == FormatFixed(b, decimals);
}

// What a text becomes once written in the code page and read again.
std::wstring ThroughCodePage(const std::wstring& text) {
    return MultiByteToUnicodeString(UnicodeStringToMultiByte(text, kCodePage), kCodePage);
}

StationHeader Read(const std::wstring& path, const AntennaCatalogue& catalogue) {
    return ReadScratchHeader(path, catalogue, kCodePage);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::wstring path = ScratchRawFile();
    const AntennaCatalogue& catalogue = DefaultCatalogue();
    WriteScratch(path, data, size);
    StationHeader before = Read(path, catalogue);
    if (!before.headerLoaded)
        return 0;

    StationHeader saved = before;
    saved.antennaTypeName = catalogue.entries[saved.antennaTypeIndex].name;
    const SavePlan plan = PlanSave(saved, saved.measureTo, kCodePage, 437, LostCharacters::Accept);
    plan.RoundHeightIn(saved);
    // Lines longer than a read piece are read back cut, as the format always did; a date of 14
    // or 15 bytes read from a line without CR is over the date limit once written with CR LF.
    if (!plan.Writable() || HasLongLine(plan.headerText) || before.dateText.size() > 13)
        return 0;
    const std::string original(reinterpret_cast<const char*>(data), size);
    const RewriteOutcome outcome =
        RewriteRawFile(SystemFileSystem(), {path, path, plan.headerText, before.snapshot, false});
    FUZZ_CHECK(outcome.Succeeded());

    const std::string rewritten = ReadScratch(path);
    const std::string observationData =
        original.substr(static_cast<size_t>(before.headerRegionLength));
    FUZZ_CHECK(rewritten.size() >= observationData.size());
    FUZZ_CHECK(rewritten.compare(rewritten.size() - observationData.size(), observationData.size(),
                                 observationData) == 0);
    const std::string written =
        HeaderForRegion(plan.headerText, before.snapshot.headerRegion.size());
    FUZZ_CHECK(rewritten.compare(0, written.size(), written) == 0);

    const StationHeader after = Read(path, catalogue);
    FUZZ_CHECK(after.headerLoaded);
    FUZZ_CHECK(SameRounded(after.version, before.version, 1));
    FUZZ_CHECK(after.receiverIdText == before.receiverIdText);
    FUZZ_CHECK(after.dateText == before.dateText);
    FUZZ_CHECK(std::isnan(after.antennaHeight) ? std::isnan(saved.antennaHeight)
                                               : after.antennaHeight == saved.antennaHeight);
    FUZZ_CHECK(std::isnan(after.heightOffset) ||
               SameRounded(after.heightOffset, before.heightOffset, 3));
    FUZZ_CHECK(std::isnan(after.approxX) || SameRounded(after.approxX, before.approxX, 4));
    FUZZ_CHECK(std::isnan(after.approxY) || SameRounded(after.approxY, before.approxY, 4));
    FUZZ_CHECK(std::isnan(after.approxZ) || SameRounded(after.approxZ, before.approxZ, 4));
    FUZZ_CHECK(std::isnan(after.interval) || SameRounded(after.interval, before.interval, 1));
    FUZZ_CHECK(after.leapSeconds == before.leapSeconds);
    FUZZ_CHECK(after.measureTo == before.measureTo);
    FUZZ_CHECK(after.stationName == (before.stationName.empty()
                                         ? before.nameParts.stationName
                                         : ThroughCodePage(before.stationName)));
    FUZZ_CHECK(after.stationCode == ThroughCodePage(before.stationCode));
    FUZZ_CHECK(after.receiverNumber == (before.receiverNumber.empty()
                                            ? AnsiToWide(before.receiverIdText, kCodePage)
                                            : ThroughCodePage(before.receiverNumber)));
    FUZZ_CHECK(after.receiverType == ThroughCodePage(before.receiverType));
    FUZZ_CHECK(after.receiverVersion == ThroughCodePage(before.receiverVersion));
    FUZZ_CHECK(after.antennaNumber == ThroughCodePage(before.antennaNumber));
    FUZZ_CHECK(after.timeOfFirstObs == ThroughCodePage(before.timeOfFirstObs));
    FUZZ_CHECK(after.antennaTypeName == saved.antennaTypeName);
    return 0;
}
