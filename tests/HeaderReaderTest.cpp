#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReader.h"
#include "platform/DirectorySeparator.h"

namespace {

std::string FullHeader() {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE",
                      "ver 2.1",
                      "ReceiverID:SN12345",
                      "Date:2024-03-05",
                      "Model:DRQ-X5",
                      "AntHigh:1.523",
                      "HEIGHT OFFSET:0.050",
                      "AntType:DRQK08",
                      "MeasureTo:2",
                      "X:-2148744.1234",
                      "Y:4426641.5678",
                      "Z:4044656.9012",
                      "MARKER NAME:EFGH",
                      "MARKER NUMBER:P01",
                      "REC #:RN-7",
                      "REC TYPE:DRQ-X5 Pro",
                      "REC VERS:3.2.1",
                      "ANT #:A-99",
                      "ANT TYPE:DRQ-K09",
                      "INTERVAL:15.0",
                      "TIME OF FIRST OBS:2024 3 5 1 2 3.0",
                      "LEAP SECONDS:18"});
}

AntennaCatalogue CatalogueOf(std::initializer_list<const char*> names) {
    std::string text;
    for (const char* name : names)
        text += std::string("[ANTENNA]\r\n") + name + "\r\n0\r\n0\r\n0\r\n";
    AntennaCatalogue catalogue;
    catalogue.ReadFromText(text);
    return catalogue;
}

class HeaderReader : public testing::Test {
  protected:
    HeaderReader() { catalogue.UseDefaultList(); }

    void Read(const std::wstring& name, const std::string& bytes, unsigned codePage = 1252) {
        ReadPath(directory.WriteFile(name, bytes), codePage);
    }

    void ReadPath(const std::wstring& path, unsigned codePage = 1252) {
        HeaderReadOptions options;
        options.codePage = codePage;
        report = ReadStationHeader(path, catalogue, header, options);
        owner = ShownRead(report);
    }

    TemporaryDirectory directory;
    AntennaCatalogue catalogue;
    StationHeader header;
    ReaderReport report;
    ShownRead owner;
};

TEST_F(HeaderReader, CompleteHeaderFillsEveryField) {
    const std::string bytes = FullHeader() + ObservationData(1000);
    const std::wstring path = directory.WriteFile(L"ABCD123A.TZR", bytes);
    ReadPath(path);

    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.headerRegionLength, static_cast<int>(FullHeader().size()));
    EXPECT_EQ(header.version, 2.1);
    EXPECT_EQ(header.receiverIdText, "SN12345");
    EXPECT_EQ(header.dateText, "2024-03-05");
    EXPECT_EQ(header.antennaHeight, 1.523f);
    EXPECT_EQ(header.antennaHeightText, L"1.523");
    EXPECT_EQ(header.heightOffset, 0.05f);
    EXPECT_EQ(header.antennaTypeName, L"DRQ-K09");
    EXPECT_EQ(header.antennaTypeIndex, 9);
    EXPECT_EQ(header.measureTo, 2);
    EXPECT_EQ(header.approxX, -2148744.1234);
    EXPECT_EQ(header.approxY, 4426641.5678);
    EXPECT_EQ(header.approxZ, 4044656.9012);
    EXPECT_EQ(header.stationName, L"EFGH");
    EXPECT_EQ(header.stationCode, L"P01");
    EXPECT_EQ(header.receiverNumber, L"RN-7");
    EXPECT_EQ(header.receiverType, L"DRQ-X5 Pro");
    EXPECT_EQ(header.receiverVersion, L"3.2.1");
    EXPECT_EQ(header.antennaNumber, L"A-99");
    EXPECT_EQ(header.interval, 15.0);
    EXPECT_EQ(header.timeOfFirstObs, L"2024 3 5 1 2 3.0");
    EXPECT_EQ(header.leapSeconds, 18);
    EXPECT_EQ(header.nameParts.directory, path.substr(0, path.size() - 12));
    EXPECT_EQ(header.nameParts.directory.back(), kDirectorySeparator);
    EXPECT_EQ(header.nameParts.stationName, L"ABCD");
    EXPECT_EQ(header.nameParts.suffix, L"123A.TZR");

    EXPECT_EQ(owner.shownPath, path);
    EXPECT_TRUE(owner.messages.empty());
    EXPECT_EQ(owner.recordShown, 1);
    EXPECT_EQ(owner.timeOfFirstObsText, L"2024 3 5 1 2 3.0");
}

TEST_F(HeaderReader, TwoLineHeaderLoadsWithDateMessage) {
    Read(L"ABCD123A.TZR", CrLfLines({"ver 2.0", "ReceiverID:ABC"}));

    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.version, 2.0);
    EXPECT_EQ(header.receiverIdText, "ABC");
    EXPECT_EQ(header.receiverNumber, L"ABC");
    EXPECT_EQ(header.stationName, L"ABCD");
    EXPECT_EQ(header.antennaTypeIndex, 0);
    EXPECT_EQ(header.measureTo, 0);
    EXPECT_EQ(header.antennaHeightText, L"0.000");
    const std::vector<ShownMessage> expected = {{ReaderMessage::NoDate}};
    EXPECT_EQ(owner.messages, expected);
    std::vector<ReaderStep::Kind> order;
    for (const ReaderStep& step : report.steps)
        order.push_back(step.kind);
    using enum ReaderStep::Kind;
    EXPECT_EQ(order, (std::vector<ReaderStep::Kind>{Path, Message, Record, TimeOfFirstObs}));
}

TEST_F(HeaderReader, EmptyPathChangesNothing) {
    header.stationName = L"KEEP";
    ReadPath(L"");
    EXPECT_EQ(header.stationName, L"KEEP");
    EXPECT_FALSE(header.headerLoaded);
    EXPECT_TRUE(owner.shownPath.empty());
    EXPECT_TRUE(owner.messages.empty());
}

struct StopCase {
    const char* name;
    std::string bytes;
    ReaderMessage message;
};

class HeaderReaderStops : public HeaderReader, public testing::WithParamInterface<StopCase> {};

TEST_P(HeaderReaderStops, ReportsAndLeavesHeaderUnloaded) {
    const StopCase& c = GetParam();
    header.headerLoaded = true;
    header.headerRegionLength = 999;
    header.stationName = L"PREVIOUS";
    Read(L"ABCD123A.TZR", c.bytes);

    EXPECT_FALSE(header.headerLoaded);
    EXPECT_EQ(header.headerRegionLength, 160);
    EXPECT_EQ(header.stationName, L"PREVIOUS");
    const std::vector<ShownMessage> expected = {{c.message}};
    EXPECT_EQ(owner.messages, expected);
    EXPECT_EQ(owner.recordShown, 0);
    EXPECT_FALSE(owner.shownPath.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, HeaderReaderStops,
    testing::Values(
        StopCase{"NoVersion", CrLfLines({"ReceiverID:ABC", "Date:2024"}), ReaderMessage::NoVersion},
        StopCase{"NoReceiverId", CrLfLines({"ver 2.0", "Date:2024"}), ReaderMessage::NoReceiverId},
        StopCase{"DateOf14Characters",
                 CrLfLines({"ver 2.0", "ReceiverID:A", "Date:2024-03-05-100"}),
                 ReaderMessage::DateTooLong},
        StopCase{"EmptyFile", "", ReaderMessage::NoVersion},
        StopCase{"KeysOnlyInsideData", "\x01\x02ver 2.0\r\nReceiverID:A\r\n",
                 ReaderMessage::NoVersion}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

TEST_F(HeaderReader, FileThatCannotBeOpenedIsReportedWithItsPath) {
    header.headerLoaded = true;
    const std::wstring path = directory.PathOf(L"MISSING1A.TZR");
    ReadPath(path);
    EXPECT_FALSE(header.headerLoaded);
    const std::vector<ShownMessage> expected = {{ReaderMessage::CannotOpen, path}};
    EXPECT_EQ(owner.messages, expected);
    EXPECT_EQ(owner.shownPath, path);
    EXPECT_EQ(header.nameParts.directory, path.substr(0, path.size() - 13));
}

TEST_F(HeaderReader, DirectoryCannotBeRead) {
    ReadPath(directory.PathOf(L""));
    EXPECT_FALSE(header.headerLoaded);
    ASSERT_EQ(owner.messages.size(), 1u);
}

TEST_F(HeaderReader, FieldsTakenBeforeAStopKeepTheirValues) {
    Read(L"A.TZR", CrLfLines({"ver 3.5", "ReceiverID:R1", "Date:0123456789ABCD"}));
    EXPECT_EQ(header.version, 3.5);
    EXPECT_EQ(header.receiverIdText, "R1");
    EXPECT_EQ(header.receiverNumber, L"R1");
    EXPECT_EQ(header.dateText, "");
}

struct DateCase {
    const char* name;
    std::string dateLine;
    std::string expected;
};

class HeaderReaderDates : public HeaderReader, public testing::WithParamInterface<DateCase> {};

TEST_P(HeaderReaderDates, KeepsTheDateBytesWithoutLineEnd) {
    Read(L"A.TZR", "ver 1\r\nReceiverID:A\r\n" + GetParam().dateLine);
    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.dateText, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, HeaderReaderDates,
    testing::Values(DateCase{"ThirteenWithCrLf", "Date:2024-03-05 10\r\n", "2024-03-05 10"},
                    DateCase{"FourteenWithLf", "Date:2024-03-05 1:0\n", "2024-03-05 1:0"},
                    DateCase{"FifteenWithoutLineEnd", "Date:2024-03-05 12:0", "2024-03-05 12:0"},
                    DateCase{"Empty", "Date:\r\n", ""},
                    DateCase{"LoneCrKept", "Date:2024\r", "2024\r"}),
    [](const testing::TestParamInfo<DateCase>& info) { return info.param.name; });

TEST_F(HeaderReader, VersionWordSatisfiesVerWithZero) {
    Read(L"A.TZR", CrLfLines({"version 2.0", "ReceiverID:A", "Date:1"}));
    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.version, 0.0);
}

struct AntennaCase {
    const char* name;
    std::string lines;
    int expectedIndex;
    std::wstring expectedName;
};

class HeaderReaderAntennas : public HeaderReader,
                             public testing::WithParamInterface<AntennaCase> {};

TEST_P(HeaderReaderAntennas, MapsTheAntennaOntoTheCatalogue) {
    header.antennaTypeName = L"BEFORE";
    Read(L"A.TZR", "ver 1\r\nReceiverID:A\r\nDate:1\r\n" + GetParam().lines);
    EXPECT_EQ(header.antennaTypeIndex, GetParam().expectedIndex);
    EXPECT_EQ(header.antennaTypeName, GetParam().expectedName);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultCatalogue, HeaderReaderAntennas,
    testing::Values(
        AntennaCase{"LegacyNumber", "AntType:3\r\n", 4, L"BEFORE"},
        AntennaCase{"LegacyWithSpace", "AntType: 12\r\n", 0, L"BEFORE"},
        AntennaCase{"LegacyNineIsK06", "AntType:9\r\n", 7, L"BEFORE"},
        AntennaCase{"LegacyOutOfTable", "AntType:60\r\n", 0, L"BEFORE"},
        AntennaCase{"NegativeIsAName", "AntType:-1\r\n", 0, L"-1"},
        AntennaCase{"Name", "AntType:DRQK08\r\n", 8, L"DRQK08"},
        AntennaCase{"NameWithBlanks", "AntType:DRQK04              \r\n", 5,
                    L"DRQK04              "},
        AntennaCase{"UnknownName", "AntType:NOSUCH\r\n", 0, L"NOSUCH"},
        AntennaCase{"Missing", "", 0, L"BEFORE"},
        AntennaCase{"AntTypeOverridden", "AntType:DRQ-K09\r\nANT TYPE:DRQK15\r\n", 15, L"DRQK15"},
        AntennaCase{"EmptyAntTypeKeepsOlder", "AntType:DRQ-K09\r\nANT TYPE:\r\n", 9, L"DRQ-K09"},
        AntennaCase{"AntTypeUnknownKeepsIndex", "AntType:DRQK08\r\nANT TYPE:ZZ\r\n", 8, L"ZZ"}),
    [](const testing::TestParamInfo<AntennaCase>& info) { return info.param.name; });

TEST_F(HeaderReader, LegacyNumberWithoutMatchingNameStaysWhileInCatalogue) {
    catalogue = CatalogueOf({"A", "B", "C", "D", "E"});
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntType:3"}));
    EXPECT_EQ(header.antennaTypeIndex, 3);

    catalogue = CatalogueOf({"A", "B", "C"});
    Read(L"B.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntType:3"}));
    EXPECT_EQ(header.antennaTypeIndex, 0);
}

TEST_F(HeaderReader, CatalogueNameStartingWithDigitIsTakenAsLegacyNumber) {
    catalogue = CatalogueOf({"Unknown", "X", "2ANT"});
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntType:2ANT"}));
    EXPECT_EQ(header.antennaTypeIndex, 2);
    EXPECT_EQ(header.antennaTypeName, L"");
}

TEST_F(HeaderReader, AntTypeNameSharedByTwoEntriesSelectsTheLater) {
    catalogue = CatalogueOf({"Unknown", "TWIN", "X", "TWIN"});
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "ANT TYPE:TWIN"}));
    EXPECT_EQ(header.antennaTypeIndex, 3);
    Read(L"B.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntType:TWIN"}));
    EXPECT_EQ(header.antennaTypeIndex, 1);
}

TEST_F(HeaderReader, ChineseCatalogueNameMatchesTheSameNameInTheHeader) {
    catalogue.ReadFromText("[ANTENNA]\r\nA\r\n[ANTENNA]\r\n\xB2\xE2\xCA\xD4\r\n", 936);
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntType:\xB2\xE2\xCA\xD4"}), 936);
    EXPECT_EQ(header.antennaTypeIndex, 1);
    EXPECT_EQ(header.antennaTypeName, L"\u6D4B\u8BD5");
}

TEST_F(HeaderReader, EmptyCatalogueLeavesIndexZero) {
    catalogue = AntennaCatalogue();
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntType:3"}));
    EXPECT_EQ(header.antennaTypeIndex, 0);
}

struct MeasureCase {
    const char* name;
    std::string lines;
    int expected;
};

class HeaderReaderMeasureTo : public HeaderReader,
                              public testing::WithParamInterface<MeasureCase> {};

TEST_P(HeaderReaderMeasureTo, TakesTheCodeOrZero) {
    header.measureTo = 3;
    Read(L"A.TZR", "ver 1\r\nReceiverID:A\r\nDate:1\r\n" + GetParam().lines);
    EXPECT_EQ(header.measureTo, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, HeaderReaderMeasureTo,
    testing::Values(MeasureCase{"InRange", "MeasureTo:1\r\n", 1},
                    MeasureCase{"OutOfRange", "MeasureTo:7\r\n", 0},
                    MeasureCase{"Negative", "MeasureTo:-1\r\n", 0},
                    MeasureCase{"OlderKey", "MeasuredTo:2\r\n", 2},
                    MeasureCase{"NewerKeyWins", "MeasuredTo:2\r\nMeasureTo:1\r\n", 1},
                    MeasureCase{"Unreadable", "MeasureTo:x\r\n", 3}, MeasureCase{"Missing", "", 0}),
    [](const testing::TestParamInfo<MeasureCase>& info) { return info.param.name; });

TEST_F(HeaderReader, EmptyOverridesKeepEarlierSources) {
    Read(L"ABCD123A.TZR", CrLfLines({"ver 1", "ReceiverID:SN1", "Date:1", "Model:M1",
                                     "MARKER NAME:", "REC #:", "REC TYPE:", "ANT TYPE:"}));
    EXPECT_EQ(header.stationName, L"ABCD");
    EXPECT_EQ(header.receiverNumber, L"SN1");
    EXPECT_EQ(header.receiverType, L"M1");
}

TEST_F(HeaderReader, EmptyModelEmptiesReceiverType) {
    header.receiverType = L"OLD";
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:SN1", "Date:1", "Model:"}));
    EXPECT_EQ(header.receiverType, L"");
}

TEST_F(HeaderReader, UnreadableHeightsBecomeZero) {
    header.antennaHeight = 5;
    header.heightOffset = 5;
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntHigh:abc"}));
    EXPECT_EQ(header.antennaHeight, 0.0f);
    EXPECT_EQ(header.heightOffset, 0.0f);
    EXPECT_EQ(header.antennaHeightText, L"0.000");
}

TEST_F(HeaderReader, MissingOptionalNumbersKeepTheirValues) {
    header.approxX = 7;
    header.interval = 30;
    header.leapSeconds = 17;
    Read(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "X:abc"}));
    EXPECT_EQ(header.approxX, 7.0);
    EXPECT_EQ(header.interval, 30.0);
    EXPECT_EQ(header.leapSeconds, 17);
}

TEST_F(HeaderReader, RegionEndsAfterTheLastKeyInReadingOrder) {
    const std::string padding = CrLfLines({std::string(100, '#'), std::string(100, '#')});
    const std::string beforeLeap =
        padding + CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "LEAP SECONDS:18"});
    Read(L"A.TZR", beforeLeap + CrLfLines({"X:1", "Y:2"}) + ObservationData(50));
    EXPECT_EQ(header.headerRegionLength, static_cast<int>(beforeLeap.size()));
}

TEST_F(HeaderReader, TextPaddingUpTo160CountsAsRegion) {
    const std::string text = CrLfLines({"ver 1", "ReceiverID:A", "Date:1", std::string(140, ' ')});
    Read(L"A.TZR", text + ObservationData(500));
    EXPECT_GT(text.size(), 160u);
    EXPECT_EQ(header.headerRegionLength, 160);
}

TEST_F(HeaderReader, ShortHeaderBeforeDataDoesNotTakeDataIntoRegion) {
    const std::string text = CrLfLines({"ver 1", "ReceiverID:A", "Date:1"});
    Read(L"A.TZR", text + ObservationData(500));
    EXPECT_EQ(header.headerRegionLength, static_cast<int>(text.size()));
}

TEST_F(HeaderReader, KeysInsideObservationDataAreNotMatched) {
    const std::string text = CrLfLines({"ver 1", "ReceiverID:A", "Date:1"});
    Read(L"ABCD123A.TZR", text + "\x02\x03\r\nMARKER NAME:DATA\r\nLEAP SECONDS:99\r\n");
    EXPECT_EQ(header.stationName, L"ABCD");
    EXPECT_EQ(header.leapSeconds, 0);
    EXPECT_EQ(header.headerRegionLength, static_cast<int>(text.size()));
}

TEST_F(HeaderReader, LongReceiverIdentifierIsKeptWhole) {
    const std::string id(200, 'R');
    const std::string text = CrLfLines({"ver 1", "ReceiverID:" + id, "Date:1"});
    Read(L"A.TZR", text);
    EXPECT_EQ(header.receiverIdText, id);
    EXPECT_EQ(header.receiverNumber, std::wstring(200, L'R'));
    EXPECT_EQ(header.headerRegionLength, static_cast<int>(text.size()));
}

TEST_F(HeaderReader, AnsiTextIsReadInTheGivenCodePage) {
    const std::string gbkStation = "\xB2\xE2\xD5\xBE";  // 测站
    Read(L"A.TZR",
         CrLfLines({"ver 1", "ReceiverID:" + gbkStation, "Date:1", "MARKER NAME:" + gbkStation}),
         936);
    EXPECT_EQ(header.stationName, L"\u6D4B\u7AD9");
    EXPECT_EQ(header.receiverIdText, gbkStation);
    EXPECT_EQ(header.receiverNumber, L"\u6D4B\u7AD9");
}

TEST_F(HeaderReader, NothingBeyond64KiBIsRead) {
    std::string bytes = CrLfLines({"ver 1", "ReceiverID:A", "Date:1"});
    while (bytes.size() < 70 * 1024)
        bytes += CrLfLines({std::string(60, '#')});
    Read(L"A.TZR", bytes + CrLfLines({"MARKER NAME:LATE"}));
    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.stationName, L"A");
}

TEST_F(HeaderReader, KeysFarIntoALongHeaderAreFound) {
    std::string bytes = CrLfLines({"ver 1", "ReceiverID:A", "Date:1"});
    while (bytes.size() < 10 * 1024)
        bytes += CrLfLines({std::string(60, '#')});
    Read(L"A.TZR", bytes + CrLfLines({"MARKER NAME:FAR"}) + ObservationData(100));
    EXPECT_EQ(header.stationName, L"FAR");
}

TEST(StationHeader, ResetKeepsLoadedFlagAndNameParts) {
    StationHeader header;
    header.headerLoaded = true;
    header.nameParts = {L"D:\\", L"ABCD", L"123A.TZR"};
    header.stationName = L"ABCD";
    header.receiverIdText = "X";
    header.headerRegionLength = 400;
    header.measureTo = 2;
    header.Reset();
    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.nameParts.suffix, L"123A.TZR");
    EXPECT_EQ(header.stationName, L"");
    EXPECT_EQ(header.receiverIdText, "");
    EXPECT_EQ(header.headerRegionLength, 160);
    EXPECT_EQ(header.measureTo, 0);
}

TEST(LegacyAntennaTable, HasFiftyThreeNamesBeforeEnd) {
    EXPECT_EQ(LegacyAntennaCount(), 53);
    for (int index : {1, 2, 3, 4, 5, 6, 7, 10, 11, 14, 46, 47, 48})
        EXPECT_EQ(LegacyAntennaTable[index].size(), 20u) << index;
    EXPECT_EQ(LegacyAntennaTable[9], L"DRQ K06");
    EXPECT_EQ(LegacyAntennaTable[52], L"DRQK40");
}

}  // namespace
