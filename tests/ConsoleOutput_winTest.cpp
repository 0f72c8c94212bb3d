#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"

namespace {

constexpr DWORD kExitMilliseconds = 20000;

// A console screen buffer that a started program can write to.
HANDLE InheritableScreen() {
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    return CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                     CONSOLE_TEXTMODE_BUFFER, nullptr);
}

// Every character cell of the buffer, row after row.
std::wstring ScreenText(HANDLE screen) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(screen, &info))
        return L"<no screen>";
    std::wstring text(static_cast<size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, text.data(), static_cast<DWORD>(text.size()), {0, 0},
                                &read);
    text.resize(read);
    return text;
}

// tzrhdr.exe shows a Chinese station right in a console whose code page has no Chinese, and
// leaves that code page as it was.
TEST(TzrhdrConsole, ShowsChineseInAnyCodePage) {
    TemporaryDirectory directory;
    const std::wstring file = directory.WriteFile(
        L"CESH045B.TZR", CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1",
                                    "Date:2026-03-05", "MARKER NAME:\xB2\xE2\xD5\xBE\xD2\xBB"}) +
                             ObservationData(1000));
    // A console of the test's own: under Wine the one it starts with may be none that holds text.
    FreeConsole();
    AllocConsole();
    SetConsoleOutputCP(437);
    const HANDLE screen = InheritableScreen();
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) {
        FreeConsole();
        GTEST_SKIP() << "no console screen here (Wine makes one only with a display)";
    }

    std::wstring commandLine =
        L"\"" TZRHDR_PROGRAM L"\" show --codepage 936 \"" + file + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = screen;
    startup.hStdError = screen;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process))
        << GetLastError();
    EXPECT_EQ(WaitForSingleObject(process.hProcess, kExitMilliseconds), WAIT_OBJECT_0);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);

    const std::wstring shown = ScreenText(screen);
    EXPECT_NE(shown.find(L"station" + std::wstring(15, L' ') + L"\u6D4B\u7AD9\u4E00"),
              std::wstring::npos)
        << shown.substr(0, 400);
    EXPECT_EQ(GetConsoleOutputCP(), 437u);
    CloseHandle(screen);
    FreeConsole();
}

}  // namespace
