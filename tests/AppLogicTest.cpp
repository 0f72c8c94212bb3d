#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AssociationText.h"
#include "app/CommandLine.h"
#include "ui/IconPlacement.h"

namespace {

struct ArgumentsCase {
    std::vector<std::wstring> args;
    std::wstring expected;
};

TEST(CommandLine, FirstArgumentThatIsNoSwitchNamesTheFile) {
    const ArgumentsCase cases[] = {
        {{}, L""},
        {{L"D:\\obs\\ABCD123A.TZR"}, L"D:\\obs\\ABCD123A.TZR"},
        {{L"/p", L"D:\\obs\\ABCD123A.TZR"}, L"D:\\obs\\ABCD123A.TZR"},
        {{L"-x", L"/dde", L"A.TZR", L"B.TZR"}, L"A.TZR"},
        {{L"D:\\my obs\\ABCD123A.TZR"}, L"D:\\my obs\\ABCD123A.TZR"},
        {{L"obs\\A.TZR"}, L"obs\\A.TZR"},
        {{L"/p"}, L""},
    };
    for (const ArgumentsCase& c : cases)
        EXPECT_EQ(RawFilePathFromArguments(c.args), c.expected);
}

struct LaunchCase {
    std::vector<std::wstring> args;
    Launch expected;
};

TEST(CommandLine, SeveralPathsAFolderOrTheSwitchOpenTheCampaignWindow) {
    using enum Launch::Window;
    const LaunchCase cases[] = {
        {{}, {Editor, {}}},
        {{L"D:\\obs\\A.TZR"}, {Editor, {L"D:\\obs\\A.TZR"}}},
        {{L"/p", L"A.TZR"}, {Editor, {L"A.TZR"}}},
        {{L"A.TZR", L"B.TZR"}, {Campaign, {L"A.TZR", L"B.TZR"}}},
        {{L"D:\\obs"}, {Campaign, {L"D:\\obs"}}},
        {{L"/campaign"}, {Campaign, {}}},
        {{L"/CAMPAIGN", L"A.TZR"}, {Campaign, {L"A.TZR"}}},
        {{L"-campaign", L"D:\\obs"}, {Campaign, {L"D:\\obs"}}},
        {{L"/campaigns", L"A.TZR"}, {Editor, {L"A.TZR"}}},
    };
    const auto isFolder = [](const std::wstring& path) { return path == L"D:\\obs"; };
    for (const LaunchCase& c : cases)
        EXPECT_EQ(LaunchFromArguments(c.args, isFolder), c.expected) << c.args.size();
}

TEST(Association, IconAndCommandForAProgramPath) {
    const std::wstring program = L"C:\\Survey\\Tool\\editor.exe";
    EXPECT_EQ(AssociationIconPath(program), L"C:\\Survey\\Tool\\TZR.ico");
    const std::wstring command = AssociationCommand(program);
    EXPECT_EQ(command, L"\"C:\\Survey\\Tool\\editor.exe\" \"%1\"");
    EXPECT_EQ(command.size(), 32u);
    EXPECT_EQ(AssociationIconPath(L"editor.exe"), L"TZR.ico");
    EXPECT_EQ(AssociationIconPath(L"C:\\\u6D4B\u91CF\\editor.exe"), L"C:\\\u6D4B\u91CF\\TZR.ico");
}

TEST(IconPlacement, CentresRoundingTowardZero) {
    EXPECT_EQ(CenteredIconOffset(37, 32), 3);
    EXPECT_EQ(CenteredIconOffset(30, 32), 0);
    EXPECT_EQ(CenteredIconOffset(32, 32), 0);
    EXPECT_EQ(CenteredIconOffset(100, 32), 34);
    EXPECT_EQ(CenteredIconOffset(20, 32), -5);
}

}  // namespace
