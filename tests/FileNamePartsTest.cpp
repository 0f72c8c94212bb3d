#include <gtest/gtest.h>

#include <string>

#include "header/FileNameParts.h"

namespace {

struct SplitCase {
    std::wstring fileName;
    std::wstring stationName;
    std::wstring suffix;
};

class FileNameSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(FileNameSplit, CutsStationNameAndSuffix) {
    const SplitCase& c = GetParam();
    const FileNameParts parts = SplitRawFilePath(L"D:\\obs\\" + c.fileName, L'\\');
    EXPECT_EQ(parts.directory, L"D:\\obs\\");
    EXPECT_EQ(parts.stationName, c.stationName);
    EXPECT_EQ(parts.suffix, c.suffix);
}

INSTANTIATE_TEST_SUITE_P(
    NamingConvention, FileNameSplit,
    testing::Values(SplitCase{L"ABCD123A.TZR", L"ABCD", L"123A.TZR"},
                    SplitCase{L"ABCD366Z.TZR", L"ABCD", L"366Z.TZR"},
                    SplitCase{L"ABCD367A.TZR", L"ABCD367A", L".TZR"},
                    SplitCase{L"ABCD12XA.TZR", L"ABCD12XA", L".TZR"},
                    SplitCase{L"0123A.TZR", L"0", L"123A.TZR"},
                    SplitCase{L"123A.TZR", L"123A", L".TZR"},
                    SplitCase{L"ABCD123A1.TZR", L"ABCD", L"123A1.TZR"},
                    SplitCase{L"ABCD366A1.TZR", L"ABCD", L"366A1.TZR"},
                    SplitCase{L"ABCD-12A1.TZR", L"ABCD", L"-12A1.TZR"},
                    SplitCase{L"ABCDxyzA1.TZR", L"ABCD", L"xyzA1.TZR"},
                    SplitCase{L"ABCD4 7A1.TZR", L"ABCD", L"4 7A1.TZR"},
                    SplitCase{L"ABCD367A1.TZR", L"ABCD367A1", L".TZR"},
                    SplitCase{L"ABCD123a1.TZR", L"ABCD", L"123a1.TZR"},
                    SplitCase{L"abcd123a.tzr", L"abcd", L"123a.tzr"},
                    SplitCase{L"abcd367a.tzr", L"abcd367a", L".tzr"},
                    SplitCase{L"123A1.TZR", L"123A1", L".TZR"},
                    SplitCase{L"ABCD1230.TZR", L"ABCD1230", L".TZR"},
                    SplitCase{L"ABCD.TZR", L"ABCD", L".TZR"}, SplitCase{L"X.TZR", L"X", L".TZR"},
                    SplitCase{L"ABCDE", L"A", L"BCDE"},
                    SplitCase{L"station.dat", L"station", L".dat"},
                    SplitCase{L"abcd123A.tzr", L"abcd", L"123A.tzr"},
                    SplitCase{L"ABCD123\u00C4.TZR", L"ABCD123\u00C4", L".TZR"},
                    SplitCase{L"\u6D4B\u7AD9123A.TZR", L"\u6D4B\u7AD9", L"123A.TZR"},
                    SplitCase{L"ABCD", L"UnKnown", L".TZR"}, SplitCase{L"TZR", L"UnKnown", L".TZR"},
                    SplitCase{L"", L"UnKnown", L".TZR"}));

TEST(FileNameParts, PathWithoutSeparatorHasEmptyDirectory) {
    const FileNameParts parts = SplitRawFilePath(L"ABCD123A.TZR", L'\\');
    EXPECT_EQ(parts.directory, L"");
    EXPECT_EQ(ComposeRawFilePath(parts.directory, parts.stationName, parts.suffix),
              L"ABCD123A.TZR");
}

TEST(FileNameParts, ForwardSlashIsNoSeparatorForBackslashPaths) {
    const FileNameParts parts = SplitRawFilePath(L"D:/obs/ABCD123A.TZR", L'\\');
    EXPECT_EQ(parts.directory, L"");
    EXPECT_EQ(parts.stationName, L"D:/obs/ABCD");
}

TEST(FileNameParts, PathEndingInSeparatorHasNoFileName) {
    const FileNameParts parts = SplitRawFilePath(L"D:\\obs\\", L'\\');
    EXPECT_EQ(parts.directory, L"D:\\obs\\");
    EXPECT_EQ(parts.stationName, L"UnKnown");
    EXPECT_EQ(parts.suffix, L".TZR");
}

TEST(FileNameParts, ComposeRenamesAfterStation) {
    const FileNameParts parts = SplitRawFilePath(L"D:\\obs\\ABCD123A.TZR", L'\\');
    EXPECT_EQ(ComposeRawFilePath(parts.directory, L"EFGH", parts.suffix), L"D:\\obs\\EFGH123A.TZR");
    const FileNameParts whole = SplitRawFilePath(L"D:\\obs\\ABCD1230.TZR", L'\\');
    EXPECT_EQ(ComposeRawFilePath(whole.directory, L"EFGH", whole.suffix), L"D:\\obs\\EFGH.TZR");
    EXPECT_EQ(ComposeRawFilePath(L"D:\\obs\\", L"", L".TZR"), L"D:\\obs\\.TZR");
}

TEST(FileNameParts, PlatformSeparatorIsTheDefault) {
    const std::wstring path = std::wstring(L"obs") + kDirectorySeparator + L"ABCD123A.TZR";
    EXPECT_EQ(SplitRawFilePath(path).stationName, L"ABCD");
}

}  // namespace
