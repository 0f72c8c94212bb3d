#pragma once

// Runs the real campaign window modeless, with its controls and its worker thread, and stands in
// for message boxes, the file dialogs, the save preview and the batch list, so that nothing
// waits for a click.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "antenna/DefaultAntennaList.h"
#include "platform/ProgramDirectory.h"
#include "res/resource.h"
#include "ui/CampaignWindow.h"

// One raw file's header values; every file of a campaign gets its own station and receiver, so
// that only the values a case sets apart give findings.
struct RawSpec {
    std::string station;
    std::string height = "1.500";
    std::string antenna = "DRQK08";
    std::string measureTo = "2";
    std::string x = "-2148744.1";
    std::string y = "4426641.5";
    std::string z = "4044656.1";
    std::string receiverNumber;
    std::string receiverType = "DRQ-X5";
    // The station in the file's name, when it is not the header's.
    std::string nameStation;
};

inline std::string RawFileBytes(const RawSpec& spec) {
    const std::string lines[] = {"VELMORAN COLLECTED DATA FILE",
                                 "ver 2.1",
                                 "ReceiverID:SN1",
                                 "Date:2026-03-05",
                                 "Model:" + spec.receiverType,
                                 "AntHigh:" + spec.height,
                                 "AntType:" + spec.antenna,
                                 "MeasureTo:" + spec.measureTo,
                                 "X:" + spec.x,
                                 "Y:" + spec.y,
                                 "Z:" + spec.z,
                                 "MARKER NAME:" + spec.station,
                                 "MARKER NUMBER:C" + spec.station,
                                 "REC #:" + spec.receiverNumber,
                                 "REC VERS:3.2.1",
                                 "ANT #:A-99",
                                 "INTERVAL:15.0",
                                 "TIME OF FIRST OBS:2026 3 5 1 2 3.0",
                                 "LEAP SECONDS:18"};
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes + ObservationData(256);
}

inline std::wstring RawFileName(const RawSpec& spec) {
    const std::string& station = spec.nameStation.empty() ? spec.station : spec.nameStation;
    return std::wstring(station.begin(), station.end()) + L"123A.TZR";
}

class CampaignWindowTest : public testing::Test {
  protected:
    CampaignWindowTest()
        : journal(journalDirectory.PathOf(L"journal.jsonl")),
          cataloguePath_(GetProgramDirectory() + L"TzrManagerAnt.ini") {
        // The list view and the progress bar, as the program's start-up registers them.
        const INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                               ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        std::filesystem::remove(std::filesystem::path(cataloguePath_));
        WriteNewFile(cataloguePath_, DefaultCatalogueFileText());
    }
    ~CampaignWindowTest() override {
        window_.reset();
        std::filesystem::remove(std::filesystem::path(cataloguePath_));
    }

    void Open(std::vector<std::wstring> paths) {
        CampaignServices services;
        services.showMessage = [this](HWND, const std::wstring& text, MessageIcon icon, UINT) {
            boxes.push_back({text, icon});
            return answer;
        };
        services.chooseFolder = [this](HWND) { return chosenFolder; };
        services.chooseFiles = [](HWND) { return std::vector<std::wstring>(); };
        services.chooseTable = [this](HWND) { return logTable; };
        services.chooseCsvTarget = [this](HWND) { return csvTarget; };
        services.confirmSave = [this](HWND, const std::wstring& text) {
            previews.push_back(text);
            return confirmSave;
        };
        services.chooseBatch = [this](HWND, const JournalIndex& index,
                                      const std::optional<std::string>& proposed) {
            batchesListed = index.batches.size();
            return proposed;
        };
        services.journalPath = journal;
        services.files = &SystemFileSystem();
        window_ = std::make_unique<CCampaignWindow>(nullptr, std::move(paths), services);
        ASSERT_TRUE(window_->CreateModeless());
        ShowWindow(Window(), SW_SHOWNOACTIVATE);
        WaitUntilIdle();
    }

    HWND Window() const { return window_->Handle(); }
    HWND List() const { return GetDlgItem(Window(), IDC_CAMPAIGN_LIST); }

    // Runs the window's messages until its worker has finished and nothing is left to do.
    void WaitUntilIdle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        do {
            Pump();
            if (!window_->Busy())
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        } while (std::chrono::steady_clock::now() < deadline);
        Pump();
        ASSERT_FALSE(window_->Busy());
    }
    void Pump() {
        MSG message;
        while (window_->Handle() != nullptr && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!window_->TranslateKeys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    void Command(int id) {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        WaitUntilIdle();
    }
    // A key pressed while `target` has the focus, through the window's own key handling.
    void Press(HWND target, UINT key) {
        SetFocus(target);
        PostMessageW(target, WM_KEYDOWN, key, 0);
        WaitUntilIdle();
    }
    void PressWithControl(HWND target, UINT key) {
        SetFocus(target);
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageW(target, WM_KEYDOWN, key, 0);
        WaitUntilIdle();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }

    int RowCount() const { return ListView_GetItemCount(List()); }
    std::wstring Cell(int item, size_t column) const {
        wchar_t text[1024] = {};
        ListView_GetItemText(List(), item, static_cast<int>(column), text, 1024);
        return text;
    }
    // The item whose file name is `name`; -1 when none.
    int ItemNamed(const std::wstring& name) const {
        for (int item = 0; item < RowCount(); ++item) {
            if (Cell(item, kFileNameColumn) == name)
                return item;
        }
        return -1;
    }
    void SelectItems(const std::vector<int>& items) {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (const int item : items)
            ListView_SetItemState(List(), item, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetItemState(List(), items.front(), LVIS_FOCUSED, LVIS_FOCUSED);
        Pump();
    }
    // Clicks the cell, which makes its column the current one.
    void ClickCell(int item, size_t column) {
        SelectItems({item});
        NMITEMACTIVATE click = {};
        click.hdr = {List(), IDC_CAMPAIGN_LIST, static_cast<UINT>(NM_CLICK)};
        click.iItem = item;
        click.iSubItem = static_cast<int>(column);
        SendMessageW(Window(), WM_NOTIFY, IDC_CAMPAIGN_LIST, reinterpret_cast<LPARAM>(&click));
        Pump();
    }
    // F2 on the current cell, the text typed, Enter.
    void TypeIntoCell(const std::wstring& text) {
        Press(List(), VK_F2);
        const HWND editor = GetDlgItem(Window(), IDC_CELL_EDITOR);
        ASSERT_NE(editor, nullptr);
        SetWindowTextW(editor, text.c_str());
        Press(editor, VK_RETURN);
    }
    // Chooses `text` in the current cell's drop-down list, then Enter.
    void ChooseInCell(const std::wstring& text) {
        Press(List(), VK_F2);
        const HWND editor = GetDlgItem(Window(), IDC_CELL_EDITOR);
        ASSERT_NE(editor, nullptr);
        SendMessageW(editor, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(text.c_str()));
        Press(editor, VK_RETURN);
    }
    std::wstring Status() const {
        wchar_t text[2048] = {};
        GetDlgItemTextW(Window(), IDC_CAMPAIGN_STATUS, text, 2048);
        return text;
    }

    struct Box {
        std::wstring text;
        MessageIcon icon;
    };

    TemporaryDirectory directory;
    TemporaryDirectory journalDirectory;
    std::wstring journal;
    std::unique_ptr<CCampaignWindow> window_;
    std::vector<Box> boxes;
    int answer = IDYES;
    std::optional<std::wstring> chosenFolder;
    std::optional<std::wstring> csvTarget;
    std::optional<std::wstring> logTable;
    std::vector<std::wstring> previews;
    bool confirmSave = true;
    size_t batchesListed = 0;

  private:
    std::wstring cataloguePath_;
};
