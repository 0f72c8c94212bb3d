#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TzrhdrRun.h"
#include "platform/CodePage.h"
#include "platform/DirectorySeparator.h"
#include "platform/FileNameCase.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace {

// A name in the Chinese code page, read from a list written in the system's ANSI code page.
const std::wstring kChineseName = L"\u6D4B\u7AD9127A.TZR";

std::string RawFileBytes(const std::string& station) {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1",
                      "Date:2026-03-05", "MARKER NAME:" + station}) +
           ObservationData(1000);
}

std::wstring WithSeparators(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', kDirectorySeparator);
    return path;
}

bool NamesIgnoreCase() {
    return FileNameForComparison(L"a") == L"A";
}

// The paths show printed, one per file read.
std::vector<std::wstring> FilesShown(const std::string& out) {
    std::vector<std::wstring> files;
    for (size_t start = 0; start < out.size();) {
        const size_t end = out.find('\n', start);
        if (out[start] != ' ')
            files.push_back(FromUtf8(out.substr(start, end - start)));
        start = end + 1;
    }
    return files;
}

struct ArgumentCase {
    const char* name;
    // Relative to the campaign folder, "/" between names; "" is the folder itself.
    std::vector<std::wstring> arguments;
    std::vector<std::wstring> files;
    // Where letter case does not count in file names, when it matters.
    std::vector<std::wstring> filesIgnoringCase = {};
    // The problem tzrhdr names after the argument, exit status 2; "?" for any.
    std::string problem = "";
};

class TzrhdrFileArguments : public testing::TestWithParam<ArgumentCase> {
  protected:
    void SetUp() override {
        for (const wchar_t* name :
             {L"ABCD123A.TZR", L"EFGH123A.TZR", L"ijkl124a.tzr", L"sub/MNOP125A.TZR",
              L"sub/deeper/QRST126A.TZR", L"notes.txt", L"empty/notes.txt"})
            Write(name, RawFileBytes("STATION"));
        Write(L"gbk/" + kChineseName, RawFileBytes("STATION"));
        Write(L"lists/utf8.txt", "\xEF\xBB\xBF" + ToUtf8(InCampaign(L"EFGH123A.TZR")) + "\r\n\r\n" +
                                     ToUtf8(InCampaign(L"sub")) + "\r\n");
        Write(L"lists/ansi.txt",
              UnicodeStringToMultiByte(InCampaign(L"gbk/" + kChineseName), AnsiCodePage()));
    }

    std::wstring InCampaign(const std::wstring& relative) const {
        const std::wstring folder = directory_.PathOf(L"campaign");
        return relative.empty() ? folder : folder + kDirectorySeparator + WithSeparators(relative);
    }

    void Write(const std::wstring& relative, const std::string& bytes) const {
        const std::wstring path = InCampaign(relative);
        CreateFoldersAbove(path);
        ASSERT_TRUE(WriteNewFile(path, bytes));
    }

    std::wstring Argument(const std::wstring& given) const {
        if (given.starts_with(L"--"))
            return given;
        if (given.starts_with(L"@"))
            return L"@" + InCampaign(given.substr(1));
        return InCampaign(given);
    }

    TemporaryDirectory directory_;
};

TEST_P(TzrhdrFileArguments, NameTheFilesAsTheShellWould) {
    const ArgumentCase& c = GetParam();
    const bool chinese = c.files.size() == 1 && c.files[0].ends_with(kChineseName);
    if (chinese && MultiByteToUnicodeString(UnicodeStringToMultiByte(kChineseName, AnsiCodePage()),
                                            AnsiCodePage()) != kChineseName)
        GTEST_SKIP() << "the system's code page holds no Chinese";
    std::vector<std::wstring> args = {L"show", L"--codepage", L"936"};
    for (const std::wstring& given : c.arguments)
        args.push_back(Argument(given));
    const RunResult result = RunTool(args);

    if (!c.problem.empty()) {
        EXPECT_EQ(result.status, 2);
        const std::string named = "tzrhdr: " + ToUtf8(args.back()) + ": ";
        EXPECT_TRUE(result.err.starts_with(named + (c.problem == "?" ? "" : c.problem)))
            << result.err;
        EXPECT_EQ(result.out, "");
        return;
    }
    EXPECT_EQ(result.status, 0) << result.err;
    const std::vector<std::wstring>& relative =
        NamesIgnoreCase() && !c.filesIgnoringCase.empty() ? c.filesIgnoringCase : c.files;
    std::vector<std::wstring> expected;
    for (const std::wstring& file : relative)
        expected.push_back(InCampaign(file));
    EXPECT_EQ(FilesShown(result.out), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, TzrhdrFileArguments,
    testing::Values(
        ArgumentCase{"Star",
                     {L"*.TZR"},
                     {L"ABCD123A.TZR", L"EFGH123A.TZR"},
                     {L"ABCD123A.TZR", L"EFGH123A.TZR", L"ijkl124a.tzr"}},
        ArgumentCase{"QuestionMarks", {L"????123?.TZR"}, {L"ABCD123A.TZR", L"EFGH123A.TZR"}},
        ArgumentCase{"StarInAFolderName", {L"s*/*.TZR"}, {L"sub/MNOP125A.TZR"}},
        ArgumentCase{"PatternMatchingAFolder", {L"s?b"}, {L"sub/MNOP125A.TZR"}},
        ArgumentCase{"NoMatch", {L"*.XYZ"}, {}, {}, "no file matches"},
        ArgumentCase{"NoMatchInChinese", {L"--lang=zh", L"*.XYZ"}, {}, {}, "没有匹配的文件"},
        ArgumentCase{"Folder", {L""}, {L"ABCD123A.TZR", L"EFGH123A.TZR", L"ijkl124a.tzr"}},
        ArgumentCase{"FolderRecursive",
                     {L"--recursive", L""},
                     {L"ABCD123A.TZR", L"EFGH123A.TZR", L"ijkl124a.tzr", L"gbk/" + kChineseName,
                      L"sub/MNOP125A.TZR", L"sub/deeper/QRST126A.TZR"}},
        ArgumentCase{
            "FolderWithoutRawFiles", {L"empty"}, {}, {}, "no raw file (.TZR) in the folder"},
        ArgumentCase{"ListInUtf8", {L"@lists/utf8.txt"}, {L"EFGH123A.TZR", L"sub/MNOP125A.TZR"}},
        ArgumentCase{"ListInTheAnsiCodePage", {L"@lists/ansi.txt"}, {L"gbk/" + kChineseName}},
        ArgumentCase{"MissingList", {L"@lists/missing.txt"}, {}, {}, "?"}),
    [](const testing::TestParamInfo<ArgumentCase>& info) { return info.param.name; });

// Windows cuts plain paths at 260 characters; tzrhdr reads, rewrites and renames beyond that.
TEST(TzrhdrLongPaths, SetAndShowAFileDeeperThanTheOldLimit) {
    TemporaryDirectory directory;
    const std::wstring top = directory.PathOf(std::wstring(120, L'd'));
    const std::wstring folder = top + kDirectorySeparator + std::wstring(120, L'e') +
                                kDirectorySeparator + std::wstring(60, L'f');
    const std::wstring file = folder + kDirectorySeparator + L"ABCD123A.TZR";
    ASSERT_GE(file.size(), 300u);
    CreateFoldersAbove(file);
    ASSERT_TRUE(WriteNewFile(file, RawFileBytes("ABCD")));

    const RunResult set = RunTool({L"set", L"--no-journal", L"--station", L"P001", file});
    EXPECT_EQ(set.status, 0) << set.err;
    const RunResult show = RunTool({L"show", folder});
    EXPECT_EQ(show.status, 0) << show.err;
    const std::vector<std::wstring> expected = {folder + kDirectorySeparator + L"P001123A.TZR"};
    EXPECT_EQ(FilesShown(show.out), expected);

    // What is left gets a path short enough for the test's own clean-up.
    std::filesystem::rename(FileSystemPath(top), FileSystemPath(directory.PathOf(L"t")));
}

}  // namespace
