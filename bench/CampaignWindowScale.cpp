// The campaign window on a campaign of raw files of 64 KiB in one folder, beside tzrhdr.exe on
// the same files: how soon the first rows show, how long until every file is read and checked
// (and the processor time that took, which the other work on a shared machine does not stretch),
// how much more memory the window takes than the editor dialog, and how long Save all of one
// field on every file takes. Meant for Wine, where every system call costs more than natively.
//
//   tzr_campaign_window_scale [--tzrhdr PATH] [--folder DIR] [--read-only] [N]   (N: 10000)
//
// --read-only leaves out the saves, which take minutes.
//
// tzrhdr.exe (by default cli\tzrhdr.exe beside this program) runs as a child process, as a user
// runs it, its output thrown away. The window runs in this process, as the program runs it, with
// the save preview and the message boxes answered at once. The campaign is made under DIR (the
// temporary folder by default) and removed afterwards.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "campaign/CampaignSheet.h"
#include "platform/ProgramDirectory.h"
#include "res/resource.h"
#include "ui/CampaignWindow.h"
#include "ui/TZRDlg.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t kFileSize = 64 * 1024;
constexpr size_t kReadSize = 4096;
// The readings, tzrhdr's check and the window's, are timed in turns more than once and the best
// run of each is taken, as the other developers' work on the same machine comes and goes.
constexpr int kReadRounds = 3;
constexpr double kFirstRowsTarget = 1.0;
constexpr double kReadTarget = 1.5;
constexpr double kMemoryTargetMiB = 40;
constexpr double kSaveTarget = 1.3;

// The header a receiver writes, with the station in MARKER NAME as in the file's name, so that a
// change of the antenna height writes in place and renames nothing.
std::string HeaderOf(size_t station, const std::string& height) {
    std::string header =
        "VELMORAN COLLECTED DATA FILE\r\nver 2.1\r\nReceiverID:SN12345\r\nDate:2026-03-05\r\n"
        "Model:DRQ-X5\r\nAntHigh:" +
        height +
        "\r\nHEIGHT OFFSET:0.000\r\nAntType:DRQK08\r\n"
        "MeasureTo:3\r\nX:-2148744.1234\r\nY:4426641.5678\r\nZ:4044656.9012\r\nMARKER NAME:S";
    header += std::to_string(100000 + station);
    header +=
        "\r\nMARKER NUMBER:P01\r\nREC #:RN-7\r\nREC TYPE:DRQ-X5\r\nREC VERS:3.2.1\r\n"
        "ANT #:A-99\r\nANT TYPE:DRQK08\r\nINTERVAL:15.0\r\n"
        "TIME OF FIRST OBS:2026 3 5 1 2 3.0\r\nLEAP SECONDS:18\r\n";
    return header;
}

std::wstring FileNameOf(size_t station) {
    return L"S" + std::to_wstring(100000 + station) + L"045A.TZR";
}

std::string RawFileOf(size_t station, const std::string& height = "1.523") {
    std::string bytes = HeaderOf(station, height) + '\x02';
    for (size_t i = bytes.size(); i < kFileSize; ++i)
        bytes += static_cast<char>(i * 37 + 11);
    return bytes;
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "tzr_campaign_window_scale: %s\n", what.c_str());
    std::exit(1);
}

// What is done so far, on the error output, as a whole run takes minutes under Wine.
template <typename... Values>
void Progress(const char* format, Values... values) {
    std::fprintf(stderr, format, values...);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double MiB(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024 * 1024);
}

double Seconds(const FILETIME& time) {
    return static_cast<double>(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart) /
           1e7;
}

// The processor time taken so far, in seconds, by this process's threads together or by the
// calling thread: beside the time from start to end, which other work on the machine stretches.
double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return Seconds(kernel) + Seconds(user);
}
double ThreadProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    return Seconds(kernel) + Seconds(user);
}

PROCESS_MEMORY_COUNTERS OwnMemory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

std::vector<fs::path> MakeCampaign(const fs::path& folder, size_t count) {
    fs::create_directories(folder);
    std::vector<fs::path> paths;
    for (size_t i = 0; i < count; ++i) {
        paths.push_back(folder / FileNameOf(i));
        std::ofstream(paths.back(), std::ios::binary) << RawFileOf(i);
    }
    return paths;
}

// Warms the cache: open, read 4 KiB, close each file.
void ReadEveryFile(const std::vector<fs::path>& paths) {
    char block[kReadSize];
    for (const fs::path& path : paths) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        DWORD read = 0;
        if (file == INVALID_HANDLE_VALUE || !ReadFile(file, block, sizeof block, &read, nullptr))
            Fail("cannot read " + path.string());
        CloseHandle(file);
    }
}

// Whether every file is as it was made but for the antenna height.
void ExpectHeight(const std::vector<fs::path>& paths, const std::string& height) {
    for (size_t i = 0; i < paths.size(); ++i) {
        std::ifstream file(paths[i], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        if (bytes != RawFileOf(i, height))
            Fail(paths[i].string() + " does not hold the antenna height " + height);
    }
}

// Runs tzrhdr with its output thrown away; the seconds from start to end.
double RunTzrhdr(const std::wstring& tzrhdr, const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE nul =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    std::wstring commandLine = L"\"" + tzrhdr + L"\" " + arguments;
    PROCESS_INFORMATION child = {};
    const auto start = Clock::now();
    if (!CreateProcessW(tzrhdr.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &child))
        Fail("cannot start tzrhdr");
    WaitForSingleObject(child.hProcess, INFINITE);
    const double seconds = SecondsSince(start);
    DWORD status = 1;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    CloseHandle(nul);
    if (status != 0)
        Fail("tzrhdr ended with status " + std::to_string(status));
    return seconds;
}

// Dispatches what is waiting for the window's thread, through the window's own keys; true when
// there was anything.
bool PumpOnce(CCampaignWindow& window) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (!window.TranslateKeys(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void PumpUntilIdle(CCampaignWindow& window) {
    for (;;) {
        if (PumpOnce(window))
            continue;
        if (!window.Busy())
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    while (PumpOnce(window)) {
    }
}

void PressKey(CCampaignWindow& window, HWND target, UINT key) {
    SetFocus(target);
    PostMessageW(target, WM_KEYDOWN, key, 0);
    PumpUntilIdle(window);
}

size_t AntennaHeightColumn() {
    const auto fields = SheetFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (std::string_view(fields[i]->name) == "antenna-height")
            return FieldColumn(i);
    }
    Fail("no antenna-height column");
}

struct Figures {
    size_t files = 0;
    double check = 1e9, set = 0, setJournalled = 0;
    // Processor time of the window's reading: the whole process's, and the window's thread's.
    double readProcessor = 0, readWindowThread = 0;
    double firstRows = 1e9, allRead = 1e9, save = 0;
    double dialogMiB = 0, windowPeakMiB = 0;
    size_t boxes = 0;
};

// The editor dialog on one raw file: the process's working set while it shows.
double DialogWorkingSet(const fs::path& path) {
    EditorServices services;
    services.showMessage = [](HWND, const std::wstring&, MessageIcon, UINT) { return IDOK; };
    services.chooseFile = [](HWND) { return std::optional<std::wstring>(); };
    services.openInEditor = [](const std::wstring&) { return INT_PTR(0); };
    services.wait = [](DWORD) {};
    services.showAbout = [](HWND) {};
    services.writeSetting = [](const std::wstring&, const std::wstring&, DWORD) { return true; };
    services.files = &SystemFileSystem();
    CTZRDlg dialog(path.wstring(), services);
    if (!dialog.CreateModeless())
        Fail("the editor dialog did not open");
    ShowWindow(dialog.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(dialog.Handle());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    const double workingSet = MiB(OwnMemory().WorkingSetSize);
    DestroyWindow(dialog.Handle());
    return workingSet;
}

// Opens the window on the folder, waits for every file, gives every row a new antenna height and
// saves them all.
void MeasureWindow(const fs::path& folder, const fs::path& journal, Figures& figures) {
    CampaignServices services;
    services.showMessage = [&figures](HWND, const std::wstring&, MessageIcon, UINT) {
        ++figures.boxes;
        return IDYES;
    };
    services.chooseFolder = [](HWND) { return std::optional<std::wstring>(); };
    services.chooseFiles = [](HWND) { return std::vector<std::wstring>(); };
    services.chooseTable = [](HWND) { return std::optional<std::wstring>(); };
    services.chooseCsvTarget = [](HWND) { return std::optional<std::wstring>(); };
    services.confirmSave = [](HWND, const std::wstring&) { return true; };
    services.chooseBatch = [](HWND, const JournalIndex&, const std::optional<std::string>&) {
        return std::optional<std::string>();
    };
    services.journalPath = journal.wstring();
    services.files = &SystemFileSystem();

    const auto opened = Clock::now();
    const double processorBefore = ProcessorSeconds();
    const double threadBefore = ThreadProcessorSeconds();
    auto window = std::make_unique<CCampaignWindow>(
        nullptr, std::vector<std::wstring>{folder.wstring()}, services);
    if (!window->CreateModeless())
        Fail("the campaign window did not open");
    ShowWindow(window->Handle(), SW_SHOWNOACTIVATE);
    const HWND list = GetDlgItem(window->Handle(), IDC_CAMPAIGN_LIST);
    while (ListView_GetItemCount(list) == 0) {
        if (!PumpOnce(*window))
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    UpdateWindow(window->Handle());
    const double firstRows = SecondsSince(opened);
    PumpUntilIdle(*window);
    const double allRead = SecondsSince(opened);
    Progress("the window read every file in %.2f s, its first rows in %.2f s", allRead, firstRows);
    figures.firstRows = std::min(figures.firstRows, firstRows);
    if (allRead < figures.allRead) {
        figures.allRead = allRead;
        figures.readProcessor = ProcessorSeconds() - processorBefore;
        figures.readWindowThread = ThreadProcessorSeconds() - threadBefore;
    }
    if (static_cast<size_t>(ListView_GetItemCount(list)) != figures.files)
        Fail("the window shows " + std::to_string(ListView_GetItemCount(list)) + " rows");
    figures.windowPeakMiB = MiB(OwnMemory().PeakWorkingSetSize);
    if (journal.empty())
        return;

    // The first row's antenna height made current, then every row selected and given one value.
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMITEMACTIVATE click = {};
    click.hdr = {list, IDC_CAMPAIGN_LIST, static_cast<UINT>(NM_CLICK)};
    click.iSubItem = static_cast<int>(AntennaHeightColumn());
    SendMessageW(window->Handle(), WM_NOTIFY, IDC_CAMPAIGN_LIST, reinterpret_cast<LPARAM>(&click));
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    PumpUntilIdle(*window);
    PressKey(*window, list, VK_F2);
    const HWND editor = GetDlgItem(window->Handle(), IDC_CELL_EDITOR);
    if (editor == nullptr)
        Fail("no cell editor");
    SetWindowTextW(editor, L"1.600");
    PressKey(*window, editor, VK_RETURN);

    const size_t boxesBefore = figures.boxes;
    const auto saving = Clock::now();
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(IDC_SAVE_ALL, 0), 0);
    PumpUntilIdle(*window);
    figures.save = SecondsSince(saving);
    if (figures.boxes != boxesBefore + 1)
        Fail("the save did not end with its summary");
    window.reset();
}

std::string LoadAverage() {
    std::ifstream file("Z:\\proc\\loadavg");
    std::string load;
    file >> load;
    return load.empty() ? "unknown" : load;
}

void PrintTable(const Figures& f, const std::string& loadBefore, const std::string& loadAfter) {
    std::printf("\n%zu raw files of 64 KiB in one folder (load average %s before, %s after)\n\n",
                f.files, loadBefore.c_str(), loadAfter.c_str());
    std::printf("| what | window | tzrhdr.exe | ratio | target |\n|---|---|---|---|---|\n");
    std::printf("| first rows in the list | %.2f s | | | %.1f s: %s |\n", f.firstRows,
                kFirstRowsTarget, f.firstRows <= kFirstRowsTarget ? "met" : "MISSED");
    const double readRatio = f.allRead / f.check;
    std::printf(
        "| every file read and checked | %.2f s (%.0f files/s) | `check`: %.2f s | %.2f | "
        "%.1f x: %s |\n",
        f.allRead, f.files / f.allRead, f.check, readRatio, kReadTarget,
        readRatio <= kReadTarget ? "met" : "MISSED");
    std::printf("| the same, processor time | %.2f s, the window's thread %.2f s | | | |\n",
                f.readProcessor, f.readWindowThread);
    const double more = f.windowPeakMiB - f.dialogMiB;
    std::printf(
        "| peak working set | %.1f MiB, the editor dialog %.1f MiB: %.1f MiB more (%.1f "
        "KiB a row) | | | %.0f MiB more: %s |\n",
        f.windowPeakMiB, f.dialogMiB, more, more * 1024 / f.files, kMemoryTargetMiB,
        more <= kMemoryTargetMiB ? "met" : "MISSED");
    if (f.set == 0)
        return;
    const double saveRatio = f.save / f.set;
    std::printf(
        "| Save all of the antenna height on every file (journalled) | %.2f s | `set "
        "--no-journal`: %.2f s | %.2f | %.1f x: %s |\n",
        f.save, f.set, saveRatio, kSaveTarget, saveRatio <= kSaveTarget ? "met" : "MISSED");
    std::printf("| the same | | `set --journal` in the temporary folder: %.2f s | %.2f | |\n",
                f.setJournalled, f.save / f.setJournalled);
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring tzrhdr = GetProgramDirectory() + L"cli\\tzrhdr.exe";
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    fs::path parent = temporary;
    size_t count = 10000;
    bool readOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tzrhdr" && i + 1 < argc)
            tzrhdr = fs::path(argv[++i]).wstring();
        else if (arg == "--read-only")
            readOnly = true;
        else if (arg == "--folder" && i + 1 < argc)
            parent = argv[++i];
        else if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos)
            count = std::stoul(arg);
        else
            Fail(
                "usage: tzr_campaign_window_scale [--tzrhdr PATH] [--folder DIR] [--read-only] "
                "[N]");
    }
    const INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                           ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    const fs::path work =
        parent / ("tzr-campaign-window-scale-" + std::to_string(GetCurrentProcessId()));
    const fs::path folder = work / "raw";
    const std::string loadBefore = LoadAverage();
    const std::vector<fs::path> paths = MakeCampaign(folder, count);
    Figures figures;
    figures.files = count;
    const std::wstring quoted = L"\"" + folder.wstring() + L"\"";
    // Before any window: what the window leaves behind would count as the dialog's.
    figures.dialogMiB = DialogWorkingSet(paths.front());
    for (int round = 0; round < kReadRounds; ++round) {
        ReadEveryFile(paths);
        const double check = RunTzrhdr(tzrhdr, L"check " + quoted);
        Progress("tzrhdr check: %.2f s", check);
        figures.check = std::min(figures.check, check);
        ReadEveryFile(paths);
        // The last window of a full run reads before it saves.
        if (readOnly || round + 1 < kReadRounds)
            MeasureWindow(folder, fs::path(), figures);
    }
    if (!readOnly) {
        ReadEveryFile(paths);
        figures.set = RunTzrhdr(tzrhdr, L"set --no-journal --antenna-height 1.600 " + quoted);
        ReadEveryFile(paths);
        const std::wstring journal = L"\"" + (work / "tzrhdr-journal.jsonl").wstring() + L"\"";
        figures.setJournalled =
            RunTzrhdr(tzrhdr, L"set --journal " + journal + L" --antenna-height 1.523 " + quoted);
        Progress("tzrhdr set: %.2f s, journalled %.2f s", figures.set, figures.setJournalled);
        ReadEveryFile(paths);
        MeasureWindow(folder, work / "journal.jsonl", figures);
        ExpectHeight(paths, "1.600");
    }
    PrintTable(figures, loadBefore, LoadAverage());
    fs::remove_all(work);
    return 0;
}
