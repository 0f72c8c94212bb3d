// Inputs meant to break the reader and the catalogue: each ends in a defined record or a clear
// message, quickly, and nothing is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "TestFiles.h"
#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReader.h"
#include "header/SavePlan.h"
#include "platform/DirectorySeparator.h"

namespace {

constexpr ReaderMessage kNoVersion = ReaderMessage::NoVersion;
constexpr ReaderMessage kNoReceiver = ReaderMessage::NoReceiverId;
constexpr ReaderMessage kBadDate = ReaderMessage::DateTooLong;

const std::string kStart = "ver 1\r\nReceiverID:A\r\n";

struct HostileCase {
    const char* name;
    std::string bytes;
    bool loads;
    std::optional<ReaderMessage> message;  // the stop message, when it does not load
};

class HostileHeaders : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileHeaders, EndInARecordOrAClearMessage) {
    TemporaryDirectory directory;
    const std::wstring path = directory.WriteFile(L"ABCD123A.TZR", GetParam().bytes);
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    StationHeader header;
    HeaderReadOptions options;
    options.codePage = 936;
    const ShownRead owner(ReadStationHeader(path, catalogue, header, options));

    EXPECT_EQ(header.headerLoaded, GetParam().loads);
    if (!GetParam().loads) {
        ASSERT_FALSE(owner.messages.empty());
        EXPECT_EQ(owner.messages.back().message, GetParam().message);
        return;
    }
    EXPECT_LE(static_cast<size_t>(header.headerRegionLength), GetParam().bytes.size());
    EXPECT_TRUE(ReadWholeFile(path) == GetParam().bytes);
    // The record can be saved again whatever it holds.
    header.antennaTypeName = catalogue.entries[header.antennaTypeIndex].name;
    PlanSave(header, header.measureTo, 936, 936);
}

std::string Line(const std::string& key, size_t totalLength) {
    return key + std::string(totalLength - key.size() - 2, 'v') + "\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, HostileHeaders,
    testing::Values(
        HostileCase{"EmptyFile", "", false, kNoVersion},
        HostileCase{"OnlyBinary", ObservationData(4096), false, kNoVersion},
        HostileCase{"NulInsideReceiverLine", std::string("ver 1\r\nReceiverID:A\0B\r\n", 22), false,
                    kNoReceiver},
        HostileCase{"NulAfterTheKeysEndsTheHeader",
                    kStart + "Date:1\r\nMARKER NAME:X\0Y\r\n" + ObservationData(100), true,
                    std::nullopt},
        HostileCase{"LongSingleLineWithoutLineFeed", std::string(3 << 20, 'A'), false, kNoVersion},
        HostileCase{"Line158", kStart + Line("MARKER NAME:", 158), true, std::nullopt},
        HostileCase{"Line159", kStart + Line("MARKER NAME:", 159), true, std::nullopt},
        HostileCase{"Line160", kStart + Line("MARKER NAME:", 160), true, std::nullopt},
        HostileCase{"Line161", kStart + Line("MARKER NAME:", 161), true, std::nullopt},
        HostileCase{"KeyAtPieceBoundary", kStart + std::string(159, '#') + "X:5\r\n", true,
                    std::nullopt},
        HostileCase{"DateOf13WithCrLf", kStart + "Date:" + std::string(13, '1') + "\r\n", true,
                    std::nullopt},
        HostileCase{"DateOf14WithCrLf", kStart + "Date:" + std::string(14, '1') + "\r\n", false,
                    kBadDate},
        HostileCase{"DateOf14WithLf", kStart + "Date:" + std::string(14, '1') + "\n", true,
                    std::nullopt},
        HostileCase{"DateOf15WithLf", kStart + "Date:" + std::string(15, '1') + "\n", false,
                    kBadDate},
        HostileCase{"HugeNumbers",
                    kStart + CrLfLines({"AntHigh:1e309", "HEIGHT OFFSET:-nan",
                                        "X:" + std::string(140, '9'), "Y:-1e309", "Z:nan",
                                        "INTERVAL:1e-400", "LEAP SECONDS:99999999999999",
                                        "MeasureTo:-2147483649", "AntType:99999999999999999999"}),
                    true, std::nullopt},
        HostileCase{"InvalidGbk", kStart + "MARKER NAME:\x81\x20\xFF\xFE\x80\r\nModel:\xB2\r\n",
                    true, std::nullopt}),
    [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

TEST(HostileHeaderValues, PiecesAndHugeNumbersGiveDefinedValues) {
    TemporaryDirectory directory;
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    const auto read = [&](const std::string& bytes) {
        StationHeader header;
        const ShownRead owner(
            ReadStationHeader(directory.WriteFile(L"ABCD123A.TZR", bytes), catalogue, header));
        return header;
    };
    EXPECT_EQ(read(kStart + Line("MARKER NAME:", 159)).stationName, std::wstring(145, L'v'));
    EXPECT_EQ(read(kStart + Line("MARKER NAME:", 161)).stationName, std::wstring(147, L'v'));
    EXPECT_EQ(read(kStart + std::string(159, '#') + "X:5\r\n").approxX, 5.0);
    const StationHeader huge =
        read(kStart + CrLfLines({"AntHigh:1e309", "Y:-1e309", "LEAP SECONDS:99999999999999"}));
    EXPECT_EQ(huge.antennaHeight, std::numeric_limits<float>::infinity());
    EXPECT_EQ(huge.approxY, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(huge.leapSeconds, std::numeric_limits<int>::max());
}

TEST(HostileCatalogue, TenThousandRecordsKeepTheFirstHundred) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "[ANTENNA]\r\nA" + std::to_string(i) + "\r\n1\r\n2\r\n3\r\n";
    AntennaCatalogue catalogue;
    catalogue.ReadFromText(text);
    EXPECT_EQ(catalogue.count, 100);
    EXPECT_EQ(catalogue.entries[99].name, L"A99");
}

TEST(HostileCatalogue, OneMegabyteLineIsOneName) {
    AntennaCatalogue catalogue;
    catalogue.ReadFromText("[ANTENNA]\r\n" + std::string(1 << 20, 'N') + "\r\n");
    EXPECT_EQ(catalogue.count, 1);
    EXPECT_EQ(catalogue.entries[0].name.size(), size_t{1} << 20);
}

TEST(HostileCatalogue, DirectoryInsteadOfAFileGivesAnEmptyCatalogue) {
    TemporaryDirectory directory;
    std::filesystem::create_directories(FileSystemPath(directory.PathOf(L"TzrManagerAnt.ini")));
    AntennaCatalogue catalogue;
    catalogue.ReadFromFile(directory.PathOf(L"TzrManagerAnt.ini"));
    EXPECT_EQ(catalogue.count, 0);
}

TEST(HostilePaths, NonAsciiAndVeryLongPathsReadOrSayWhy) {
    TemporaryDirectory directory;
    std::wstring folder = L"\u6D4B\u91CF\u6570\u636E";
    std::filesystem::create_directories(FileSystemPath(directory.PathOf(folder)));
    const std::wstring nonAscii = directory.WriteFile(
        folder + kDirectorySeparator + L"\u6D4B\u7AD9123A.TZR", kStart + "Date:1\r\n");
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    StationHeader header;
    const ShownRead owner(ReadStationHeader(nonAscii, catalogue, header));
    EXPECT_TRUE(header.headerLoaded);
    EXPECT_EQ(header.stationName, L"\u6D4B\u7AD9");

    std::wstring longFolder = directory.PathOf(std::wstring(120, L'd'));
    longFolder += kDirectorySeparator + std::wstring(120, L'e');
    std::error_code ignored;
    std::filesystem::create_directories(FileSystemPath(longFolder), ignored);
    const std::wstring longPath = longFolder + kDirectorySeparator + L"ABCD123A.TZR";
    ASSERT_GT(longPath.size(), 260u);
    std::ofstream(FileSystemPath(longPath), std::ios::binary) << kStart;
    StationHeader longHeader;
    const ShownRead longOwner(ReadStationHeader(longPath, catalogue, longHeader));
    if (!longHeader.headerLoaded) {
        ASSERT_EQ(longOwner.messages.size(), 1u);
        EXPECT_EQ(longOwner.messages[0], (ShownMessage{ReaderMessage::CannotOpen, longPath}));
    }
}

}  // namespace
