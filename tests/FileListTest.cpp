#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/FileList.h"
#include "platform/DirectorySeparator.h"

namespace {

const std::wstring kSeparator(1, kDirectorySeparator);

// Every path comes back as it was added, in its order: names of any length and any characters,
// in folders that change from file to file, beyond the texts that the list keeps a start for.
TEST(FileList, GivesBackEveryPathAsAdded) {
    const std::wstring folder = L"obs" + kSeparator + L"\u6D4B\u7AD9";
    const std::vector<std::wstring> names = {L"ABCD123A.TZR",
                                             L"\u6D4B\u7AD9127A.TZR",
                                             std::wstring(300, L'\u00E9') + L"001A.TZR",
                                             std::wstring(1, static_cast<wchar_t>(0xFFFF)),
                                             L"a",
                                             L"\U0001F600" + std::wstring(L".tzr")};
    FileList list;
    std::vector<std::wstring> expected;
    for (int round = 0; round < 8; ++round) {
        for (const std::wstring& name : names) {
            if (round % 2 == 0) {
                list.AddInFolder(round == 4 ? folder + kSeparator : folder, name);
                expected.push_back(folder + kSeparator + name);
            } else {
                list.Add(name);
                expected.push_back(name);
            }
        }
    }
    ASSERT_EQ(list.size(), expected.size());
    std::wstring path;
    for (size_t i = 0; i < expected.size(); ++i) {
        list.PathInto(i, path);
        EXPECT_EQ(path, expected[i]) << i;
    }
    EXPECT_EQ(static_cast<std::vector<std::wstring>>(list), expected);
}

}  // namespace
