// Times a Windows program from its start to its first visible window, then closes it:
//   startup_timer RUNS PROGRAM [ARGUMENT]
// prints the median in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

double TimeOneStart(const std::wstring& commandLine) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency;
    LARGE_INTEGER begin;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    Search search = {process.dwProcessId, nullptr};
    while (search.found == nullptr && WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT)
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&end);
    if (search.found != nullptr)
        PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_timer RUNS PROGRAM [ARGUMENT]\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    if (argc > 3)
        commandLine += L" \"" + std::wstring(argv[3]) + L"\"";
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(TimeOneStart(commandLine));
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}
