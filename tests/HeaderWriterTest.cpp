#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "TestFiles.h"
#include "antenna/AntennaCatalogue.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderReader.h"
#include "header/HeaderWriter.h"
#include "header/RawFileRewrite.h"
#include "header/SavePlan.h"

namespace {

StationHeader SampleRecord() {
    StationHeader header;
    header.version = 2.14;
    header.receiverIdText = "SN12345";
    header.dateText = "2026-03-05";
    header.receiverType = L"DRQ-X5";
    header.antennaHeight = 1.5f;
    header.antennaHeightText = L"1.500";
    header.heightOffset = 0.05f;
    header.antennaTypeName = L"DRQK04              ";
    header.approxX = -2148744.12346;
    header.approxY = 4426641.5;
    header.approxZ = 0;
    header.stationName = L"\u6D4B\u7AD9";
    header.stationCode = L"P01";
    header.receiverNumber = L"RN-7";
    header.receiverVersion = L"3.2.1";
    header.antennaNumber = L"A-99";
    header.interval = 0.05;
    header.timeOfFirstObs = L"2026 3 5 1 2 3.0";
    header.leapSeconds = 18;
    return header;
}

TEST(HeaderWriter, WritesTheTwentyTwoLinesByteForByte) {
    const std::optional<std::string> text = BuildHeaderText(SampleRecord(), 3, 936);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, CrLfLines({"VELMORAN COLLECTED DATA FILE",
                                "ver 2.1",
                                "ReceiverID:SN12345",
                                "Date:2026-03-05",
                                "Model:DRQ-X5",
                                "AntHigh:1.500",
                                "HEIGHT OFFSET:0.050",
                                "AntType:DRQK04              ",
                                "MeasureTo:3",
                                "X:-2148744.1235",
                                "Y:4426641.5000",
                                "Z:0.0000",
                                "MARKER NAME:\xB2\xE2\xD5\xBE",
                                "MARKER NUMBER:P01",
                                "REC #:RN-7",
                                "REC TYPE:DRQ-X5",
                                "REC VERS:3.2.1",
                                "ANT #:A-99",
                                "ANT TYPE:DRQK04              ",
                                "INTERVAL:0.1",
                                "TIME OF FIRST OBS:2026 3 5 1 2 3.0",
                                "LEAP SECONDS:18"}));
}

TEST(HeaderWriter, UnrepresentableCharactersBecomeQuestionMarks) {
    StationHeader header = SampleRecord();
    const std::optional<std::string> text = BuildHeaderText(header, 0, 1252);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("MARKER NAME:??\r\n"), std::string::npos);
}

TEST(HeaderWriter, RefusesAHeaderLongerThan4095Bytes) {
    StationHeader header = SampleRecord();
    const size_t fixed = BuildHeaderText(header, 0, 1252)->size() - 2;  // without the station name
    header.stationName = std::wstring(kMaxHeaderLength - fixed, L'N');
    ASSERT_TRUE(BuildHeaderText(header, 0, 1252));
    EXPECT_EQ(BuildHeaderText(header, 0, 1252)->size(), kMaxHeaderLength);
    header.stationName += L'N';
    EXPECT_FALSE(BuildHeaderText(header, 0, 1252));
}

struct HeightCase {
    std::wstring typed;
    // Nothing when the text is refused.
    std::optional<std::wstring> shown;
    float value = 0;
};

TEST(HeaderWriter, NormalisesTheAntennaHeightToMillimetresOrRefusesIt) {
    const HeightCase cases[] = {
        {L"1.5", L"1.500", 1.5f},
        {L"1.2345", L"1.235", 1.235f},
        {L"2.0005", L"2.000", 2.0f},
        {L" -0.25\t", L"-0.250", -0.25f},
        {L"1.5e0", L"1.500", 1.5f},
        {L"1.5000000000000", L"1.500", 1.5f},
        {L"1.00000000000000", L"1.000", 1.0f},
        {L"1,5", std::nullopt},
        {L"abc", std::nullopt},
        {L" -0.25m", std::nullopt},
        {L"--1.5", std::nullopt},
        {L"1e", std::nullopt},
        {L"inf", std::nullopt},
        {L"nan", std::nullopt},
        {L"1e39", std::nullopt},
        {L"0x10", std::nullopt},
        {L"", std::nullopt},
    };
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
        StationHeader header;
        header.antennaHeightText = c.typed;
        EXPECT_EQ(NormaliseAntennaHeight(header, 437), c.shown.has_value());
        EXPECT_EQ(header.antennaHeightText, c.shown.value_or(c.typed));
        EXPECT_EQ(header.antennaHeight, c.value);
        const std::string line = "AntHigh:" + FormatFixed(c.value, 3) + "\r\n";
        EXPECT_NE(BuildHeaderText(header, 0, 1252)->find(line), std::string::npos);
    }
}

// A header that a save shrank in place is padded to the old region; the padding is header.
TEST(HeaderWriter, WrittenHeaderReadsBackWithTheDocumentedRoundings) {
    for (size_t padding : {0u, 3000u}) {
        SCOPED_TRACE(padding);
        TemporaryDirectory directory;
        StationHeader written = SampleRecord();
        written.antennaTypeName = L"DRQK08";
        const std::string header = HeaderForRegion(
            *BuildHeaderText(written, 2, 936), BuildHeaderText(written, 2, 936)->size() + padding);
        const std::wstring path =
            directory.WriteFile(L"ABCD123A.TZR", header + ObservationData(100));
        AntennaCatalogue catalogue;
        catalogue.UseDefaultList();
        StationHeader read;
        HeaderReadOptions options;
        options.codePage = 936;
        ReadStationHeader(path, catalogue, read, options);

        EXPECT_TRUE(read.headerLoaded);
        EXPECT_EQ(read.version, 2.1);
        EXPECT_EQ(read.receiverIdText, written.receiverIdText);
        EXPECT_EQ(read.dateText, written.dateText);
        EXPECT_EQ(read.antennaHeight, 1.5f);
        EXPECT_EQ(read.heightOffset, 0.05f);
        EXPECT_EQ(read.antennaTypeIndex, 8);
        EXPECT_EQ(read.measureTo, 2);
        EXPECT_EQ(read.approxX, -2148744.1235);
        EXPECT_EQ(read.stationName, written.stationName);
        EXPECT_EQ(read.stationCode, written.stationCode);
        EXPECT_EQ(read.receiverNumber, written.receiverNumber);
        EXPECT_EQ(read.receiverType, written.receiverType);
        EXPECT_EQ(read.receiverVersion, written.receiverVersion);
        EXPECT_EQ(read.antennaNumber, written.antennaNumber);
        EXPECT_EQ(read.interval, 0.1);
        EXPECT_EQ(read.timeOfFirstObs, written.timeOfFirstObs);
        EXPECT_EQ(read.leapSeconds, 18);
        EXPECT_EQ(read.headerRegionLength, static_cast<int>(header.size()));
    }
}

struct ValueCase {
    const char* name;
    std::wstring StationHeader::*field;
    std::wstring value;
    std::optional<ValueFault> fault;
    std::wstring characters;
};

class PlanSaveValues : public testing::TestWithParam<ValueCase> {};

TEST_P(PlanSaveValues, RefusesWhatWouldBreakTheHeaderOrMoveTheFile) {
    const ValueCase& c = GetParam();
    StationHeader header = SampleRecord();
    header.antennaTypeName = L"DRQK08";
    header.nameParts = {L"", L"ABCD", L".TZR"};
    header.*c.field = c.value;
    const SavePlan plan = PlanSave(header, 0, 936, 936);
    EXPECT_EQ(plan.refusal.has_value(), c.fault.has_value());
    EXPECT_EQ(plan.headerText.empty(), c.fault.has_value());
    if (plan.refusal && c.fault) {
        EXPECT_EQ(plan.refusal->fault, *c.fault);
        EXPECT_EQ(plan.refusal->characters, c.characters);
    }
    EXPECT_TRUE(PlanSave(header, 0, 936, 936, LostCharacters::Accept).Writable() ==
                (!c.fault || *c.fault == ValueFault::NotInCodePage));
}

using enum ValueFault;
INSTANTIATE_TEST_SUITE_P(
    Values, PlanSaveValues,
    testing::Values(
        ValueCase{"PlainStation", &StationHeader::stationName, L"P001", {}, L""},
        ValueCase{"ChineseStation", &StationHeader::stationName, L"\u6D4B\u7AD9", {}, L""},
        ValueCase{"BackslashStation", &StationHeader::stationName, L"..\\P001", NotAFileName,
                  L"\\"},
        ValueCase{"SlashStation", &StationHeader::stationName, L"../P:1", NotAFileName, L"/:"},
        ValueCase{"DotDotStation", &StationHeader::stationName, L"..", NotAFileName, L".."},
        ValueCase{"DeviceStation", &StationHeader::stationName, L"com1", NotAFileName, L"com1"},
        ValueCase{"SuperscriptDevice", &StationHeader::stationName, L"LPT\u00B2", NotAFileName,
                  L"LPT\u00B2"},
        ValueCase{"EmptyStation", &StationHeader::stationName, L"", NotAFileName, L""},
        ValueCase{"LineBreakInStation", &StationHeader::stationName, L"P001\n", ControlCharacter,
                  L"\n"},
        ValueCase{"TabInStation", &StationHeader::stationName, L"P\t1", ControlCharacter, L"\t"},
        ValueCase{"TabInVersion", &StationHeader::receiverVersion, L"3\t2", {}, L""},
        ValueCase{"InjectedLine", &StationHeader::receiverType, L"X\r\nAntHigh:9.999",
                  ControlCharacter, L"\r\n"},
        ValueCase{"EscapeInCode", &StationHeader::stationCode, L"A\x1b", ControlCharacter, L"\x1b"},
        ValueCase{"DeleteInAntennaNumber", &StationHeader::antennaNumber, L"\x7f", ControlCharacter,
                  L"\x7f"},
        ValueCase{"ThaiInStation", &StationHeader::stationName, L"P\u0E01\u0E01", NotInCodePage,
                  L"\u0E01"},
        ValueCase{"HeightWithComma", &StationHeader::antennaHeightText, L"1,5", NotANumber, L"1,5"},
        ValueCase{"HeightWithUnit", &StationHeader::antennaHeightText, L"1.5m", NotANumber,
                  L"1.5m"}),
    [](const testing::TestParamInfo<ValueCase>& info) { return info.param.name; });

struct NumberCase {
    const char* name;
    void (*edit)(StationHeader& header);
    // The field refused and its value as shown; none when the number reads back.
    std::string_view field;
    std::wstring shown;
};

class PlanSaveNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(PlanSaveNumbers, RefusesANumberThatWouldNotReadBackAsWritten) {
    StationHeader header = SampleRecord();
    header.nameParts = {L"", L"ABCD", L".TZR"};
    GetParam().edit(header);
    const SavePlan plan = PlanSave(header, 0, 936, 936, LostCharacters::Accept);
    ASSERT_EQ(plan.refusal.has_value(), !GetParam().field.empty());
    if (plan.refusal) {
        EXPECT_EQ(plan.refusal->fault, ValueFault::NotANumber);
        EXPECT_EQ(plan.refusal->field, GetParam().field);
        EXPECT_EQ(plan.refusal->characters, GetParam().shown);
    }
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, PlanSaveNumbers,
    testing::Values(
        NumberCase{"InfiniteX", [](StationHeader& h) { h.approxX = -kInfinity; }, "x", L"-inf"},
        NumberCase{"NanY",
                   [](StationHeader& h) { h.approxY = std::numeric_limits<double>::quiet_NaN(); },
                   "y", L"nan"},
        // 309 digits, which the reader's 159-byte pieces would read back as 1e+156.
        NumberCase{"HugeZ", [](StationHeader& h) { h.approxZ = 1e308; }, "z", L"1e+308"},
        NumberCase{"LongestLineThatReadsBack", [](StationHeader& h) { h.approxZ = 1e150; }, "",
                   L""},
        NumberCase{"HugeInterval", [](StationHeader& h) { h.interval = 1e300; }, "interval",
                   L"1e+300"},
        NumberCase{"HugeVersion", [](StationHeader& h) { h.version = 1e200; }, "version",
                   L"1e+200"},
        NumberCase{"InfiniteHeightOffset",
                   [](StationHeader& h) { h.heightOffset = static_cast<float>(kInfinity); },
                   "height-offset", L"inf"}),
    [](const testing::TestParamInfo<NumberCase>& info) { return info.param.name; });

}  // namespace
