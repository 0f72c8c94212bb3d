#pragma once

// Runs the real editor dialog modeless, with its controls, and stands in for message boxes, the
// file chooser, Notepad and the busy pause, so that nothing waits for a click.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "antenna/DefaultAntennaList.h"
#include "app/Settings.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDirectory.h"
#include "res/resource.h"
#include "ui/TZRDlg.h"

struct ShownBox {
    std::wstring text;
    MessageIcon icon;
    bool operator==(const ShownBox&) const = default;
};

inline const std::wstring kNotANumber = L"请输入一个数字。";
inline const std::wstring kNotAnInteger = L"请输入一个整数。";

inline std::string SampleHeader() {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1",
                      "Date:2026-03-05", "Model:DRQ-X5", "AntHigh:1.523", "AntType:DRQK08",
                      "MeasureTo:2", "X:-2148744.1234", "Y:4426641.5678", "Z:4044656.12345678901",
                      "MARKER NAME:\xB2\xE2\xD5\xBE", "MARKER NUMBER:P01", "REC #:RN-7",
                      "REC VERS:3.2.1", "ANT #:A-99", "INTERVAL:15.0",
                      "TIME OF FIRST OBS:2026 3 5 1 2 3.0", "LEAP SECONDS:18"});
}

class EditorDialog : public testing::Test {
  protected:
    EditorDialog() : cataloguePath_(GetProgramDirectory() + L"TzrManagerAnt.ini") {
        UseCatalogue(DefaultCatalogueFileText());
    }
    ~EditorDialog() override {
        dialog_.reset();
        std::filesystem::remove(std::filesystem::path(cataloguePath_));
    }

    void UseCatalogue(const std::string& text) {
        std::filesystem::remove(std::filesystem::path(cataloguePath_));
        WriteNewFile(cataloguePath_, text);
    }

    void Open(const std::wstring& path) {
        EditorServices services;
        services.showMessage = [this](HWND owner, const std::wstring& text, MessageIcon icon,
                                      UINT buttons) {
            EXPECT_EQ(owner, dialog_ ? dialog_->Handle() : owner);
            boxes.push_back({text, icon});
            boxButtons.push_back(buttons);
            const UINT kind = buttons & MB_TYPEMASK;
            return kind == MB_YESNO || kind == MB_YESNOCANCEL ? answer : IDOK;
        };
        services.wait = [this](DWORD milliseconds) {
            const HWND save = GetDlgItem(Window(), IDC_SAVE);
            waits.push_back({milliseconds, IsWindowEnabled(save) != FALSE, Text(IDC_SAVE)});
        };
        services.files = files != nullptr ? files : &SystemFileSystem();
        services.showAbout = [this](HWND owner) {
            EXPECT_EQ(owner, Window());
            ++aboutShown;
        };
        services.writeSetting = WriteProfileInt;
        services.chooseFile = [this](HWND) { return chosenFile; };
        services.openInEditor = [this](const std::wstring& file) {
            editorFiles.push_back(file);
            return editorResult;
        };
        dialog_ = std::make_unique<CTZRDlg>(path, services);
        ASSERT_TRUE(dialog_->CreateModeless());
        Pump();
    }

    HWND Window() const { return dialog_->Handle(); }
    std::wstring Text(int id) const {
        wchar_t buffer[1024] = {};
        GetDlgItemTextW(Window(), id, buffer, 1024);
        return buffer;
    }
    void SetText(int id, const std::wstring& text) { SetDlgItemTextW(Window(), id, text.c_str()); }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendDlgItemMessageW(Window(), id, message, wParam, lParam);
    }
    void Click(int id) {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(Window(), id)));
        Pump();
    }
    std::vector<std::wstring> ListItems(int id) {
        std::vector<std::wstring> items;
        const auto count = static_cast<int>(Send(id, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            wchar_t buffer[256] = {};
            Send(id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
            items.push_back(buffer);
        }
        return items;
    }
    int Selection(int id) { return static_cast<int>(Send(id, CB_GETCURSEL)); }
    bool IsReadOnly(int id) {
        return (GetWindowLongW(GetDlgItem(Window(), id), GWL_STYLE) & ES_READONLY) != 0;
    }
    void Pump() {
        MSG message;
        while (dialog_->Handle() != nullptr && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog_->Handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    TemporaryDirectory directory;
    std::unique_ptr<CTZRDlg> dialog_;
    std::vector<ShownBox> boxes;
    std::optional<std::wstring> chosenFile;
    std::vector<std::wstring> editorFiles;
    INT_PTR editorResult = 42;
    std::vector<UINT> boxButtons;
    int answer = IDNO;
    struct Wait {
        DWORD milliseconds;
        bool saveEnabled;
        std::wstring saveCaption;
    };
    std::vector<Wait> waits;
    FileSystem* files = nullptr;
    int aboutShown = 0;

  private:
    std::wstring cataloguePath_;
};
