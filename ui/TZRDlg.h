#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReader.h"
#include "header/StationHeader.h"
#include "platform/FileSystem.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"

// What the editor asks of the system; tests stand in for the user's side of it.
struct EditorServices {
    std::function<int(HWND owner, const std::wstring& text, MessageIcon icon, UINT buttons)>
        showMessage;
    std::function<std::optional<std::wstring>(HWND owner)> chooseFile;
    std::function<INT_PTR(const std::wstring& path)> openInEditor;
    std::function<void(DWORD milliseconds)> wait;
    std::function<void(HWND owner)> showAbout;
    std::function<bool(const std::wstring& section, const std::wstring& entry, DWORD value)>
        writeSetting;
    // Several files or a folder dropped on the editor open in the campaign window.
    std::function<void(HWND owner, std::vector<std::wstring> paths)> openCampaign;
    FileSystem* files = nullptr;

    // The system's own services; the settings writer is the application's to give.
    static EditorServices System();
};

// The editor: one raw file's header, its antenna catalogue, and the commands on them.
class CTZRDlg : public CDialog {
  public:
    CTZRDlg(const std::wstring& path, EditorServices services);

    const StationHeader& Header() const { return header_; }
    const std::wstring& CurrentPath() const { return currentPath_; }

    void FillComboBoxes();
    // Returns true when the file now holds the header as shown.
    bool SaveStationHeader();

  protected:
    bool OnInit() override;
    bool OnCommand(int notifyCode, int itemId) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    enum class Leaving { AsBefore, Saved, Discarding, Stay };

    Leaving AskBeforeLeaving();
    std::vector<std::wstring> ShownValues() const;
    bool ExchangeRecord(ExchangeDirection direction);
    void ReadHeader();
    void ShowReadSteps(const ReaderReport& report);
    void Browse();
    void OpenFile(const std::wstring& path);
    void TakeDrop(HDROP drop);
    void OpenInEditor();
    bool RunSave();
    void AddAboutItemToSystemMenu();
    void PaintMinimised();
    void WriteUiSetting(DWORD value);
    void Relabel();
    int MessageBoxOnDialog(const std::wstring& text, MessageIcon icon, UINT buttons = MB_OK);

    EditorServices services_;
    StationHeader header_;
    AntennaCatalogue catalogue_;
    int legacyAntennaCount_;
    std::wstring currentPath_;
    // What the fields showed when the file was last read or saved.
    std::vector<std::wstring> savedValues_;
    HICON icon_;
};
