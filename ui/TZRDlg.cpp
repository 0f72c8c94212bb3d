#include "ui/TZRDlg.h"

#include <commctrl.h>

#include "campaign/SaveFiles.h"
#include "header/FileNameParts.h"
#include "header/HeaderReader.h"
#include "header/LegacyAntennaTable.h"
#include "header/MeasureToChoices.h"
#include "header/RawFileRewrite.h"
#include "header/SavePlan.h"
#include "platform/CodePage.h"
#include "platform/FolderListing.h"
#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "ui/CampaignWindow.h"
#include "ui/DroppedFiles.h"
#include "ui/FileChooser.h"
#include "ui/IconPlacement.h"
#include "ui/MessageBox.h"
#include "ui/MessageTable.h"
#include "ui/TextEditor.h"

namespace {

constexpr int kVisibleListItems = 15;
constexpr int kEditableFields[] = {IDC_STATION_NAME,     IDC_STATION_CODE,    IDC_ANTENNA_HEIGHT,
                                   IDC_ANTENNA_NUMBER,   IDC_RECEIVER_NUMBER, IDC_RECEIVER_TYPE,
                                   IDC_RECEIVER_VERSION, IDC_APPROX_X,        IDC_APPROX_Y,
                                   IDC_APPROX_Z,         IDC_ANTENNA_TYPE,    IDC_MEASURE_TO};
constexpr INT_PTR kShellExecuteFailureLimit = 32;
constexpr DWORD kBusyPause = 500;

// The Save button shows that a save is running, from start to end on every way out.
class SaveButtonBusy {
  public:
    explicit SaveButtonBusy(HWND button) : button_(button), caption_(WindowText(button)) {
        EnableWindow(button_, FALSE);
        SetWindowTextW(button_, (caption_ + L"...").c_str());
    }
    ~SaveButtonBusy() {
        EnableWindow(button_, TRUE);
        SetWindowTextW(button_, caption_.c_str());
    }
    SaveButtonBusy(const SaveButtonBusy&) = delete;
    SaveButtonBusy& operator=(const SaveButtonBusy&) = delete;

  private:
    HWND button_;
    std::wstring caption_;
};

std::wstring ListItemText(HWND list, LRESULT index) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

EditorServices EditorServices::System() {
    return {ShowMessageBox,
            ChooseRawFile,
            OpenInNotepad,
            Sleep,
            [](HWND owner) { CAboutDlg(owner).DoModal(); },
            {},
            [](HWND owner, std::vector<std::wstring> paths) {
                RunCampaignWindow(owner, std::move(paths), CampaignServices::System());
            },
            &SystemFileSystem()};
}

CTZRDlg::CTZRDlg(const std::wstring& path, EditorServices services)
    : CDialog(IDD_TZR_DIALOG, nullptr),
      services_(std::move(services)),
      legacyAntennaCount_(LegacyAntennaCount()),
      currentPath_(path),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    // Creates a missing catalogue file as soon as the editor exists, before any window shows.
    catalogue_.Load();
}

bool CTZRDlg::OnInit() {
    ExchangeRecord(ExchangeDirection::ToControls);
    AddAboutItemToSystemMenu();
    AcceptDroppedFiles(Handle());
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    // Read again so that the window offers the file as it is when it opens.
    catalogue_.Load();
    ReadHeader();
    FillComboBoxes();
    for (int id : {IDC_TIME_OF_FIRST_OBS, IDC_INTERVAL, IDC_LEAP_SECONDS})
        SendItemMessage(id, EM_SETREADONLY, TRUE);
    savedValues_ = ShownValues();
    return true;
}

void CTZRDlg::AddAboutItemToSystemMenu() {
    const HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    if (systemMenu == nullptr)
        return;
    const std::wstring aboutText = LoadResourceString(IDS_ABOUTBOX);
    if (aboutText.empty())
        return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
}

bool CTZRDlg::OnCommand(int notifyCode, int itemId) {
    if (notifyCode != BN_CLICKED)
        return false;
    switch (itemId) {
        case IDC_BROWSE:
            Browse();
            return true;
        case IDC_OPEN_IN_EDITOR:
            OpenInEditor();
            return true;
        case IDC_SAVE:
            SaveStationHeader();
            return true;
        case IDC_UI_SETTING_OFF:
            WriteUiSetting(0);
            return true;
        case IDC_UI_SETTING_ON:
            WriteUiSetting(1);
            return true;
        default:
            return false;
    }
}

void CTZRDlg::OnOK() {
    if (ExchangeRecord(ExchangeDirection::ToRecord) && AskBeforeLeaving() != Leaving::Stay)
        End(IDOK);
}

void CTZRDlg::OnCancel() {
    if (AskBeforeLeaving() != Leaving::Stay)
        End(IDCANCEL);
}

// As in Notepad: edits that were not saved are saved, dropped or kept on the user's word.
CTZRDlg::Leaving CTZRDlg::AskBeforeLeaving() {
    if (!header_.headerLoaded || ShownValues() == savedValues_)
        return Leaving::AsBefore;
    // The name alone: a deep folder's path would make the box wider than the screen.
    const FileNameParts name = SplitRawFilePath(currentPath_);
    const int answer =
        MessageBoxOnDialog(L"文件头的修改尚未保存，是否保存？\n" + name.stationName + name.suffix,
                           MessageIcon::Question, MB_YESNOCANCEL | MB_DEFBUTTON1);
    if (answer == IDNO)
        return Leaving::Discarding;
    if (answer == IDYES && SaveStationHeader())
        return Leaving::Saved;
    return Leaving::Stay;
}

std::vector<std::wstring> CTZRDlg::ShownValues() const {
    std::vector<std::wstring> values;
    for (const int id : kEditableFields) {
        const bool list = id == IDC_ANTENNA_TYPE || id == IDC_MEASURE_TO;
        values.push_back(list ? std::to_wstring(SendItemMessage(id, CB_GETCURSEL)) : ItemText(id));
    }
    return values;
}

bool CTZRDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
                return false;
            services_.showAbout(Handle());
            result = 0;
            return true;
        case WM_PAINT:
            if (!IsIconic(Handle()))
                return false;
            PaintMinimised();
            result = 0;
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(icon_);
            return true;
        case WM_TZR_RELABEL:
            Relabel();
            result = 0;
            return true;
        case WM_DROPFILES:
            TakeDrop(reinterpret_cast<HDROP>(wParam));
            result = 0;
            return true;
        default:
            return false;
    }
}

void CTZRDlg::PaintMinimised() {
    PAINTSTRUCT paint;
    const HDC context = BeginPaint(Handle(), &paint);
    SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(Handle(), &client);
    const int x = CenteredIconOffset(client.right - client.left, GetSystemMetrics(SM_CXICON));
    const int y = CenteredIconOffset(client.bottom - client.top, GetSystemMetrics(SM_CYICON));
    DrawIcon(context, x, y, icon_);
    EndPaint(Handle(), &paint);
}

// Another program may switch the interface setting; it takes effect at the next start.
void CTZRDlg::WriteUiSetting(DWORD value) {
    services_.writeSetting(L"TZRINI", L"UI", value);
    MessageBoxOnDialog(L"\n该应用程序必须重新启动,\n以使所做改动生效！", MessageIcon::Warning);
}

void CTZRDlg::Relabel() {
    SetItemText(IDC_PATH_LABEL, L"被修改的TZR文件");
    SetItemText(IDC_STATION_NAME_LABEL, L"测站名");
    SendItemMessage(IDC_TIME_OF_FIRST_OBS, EM_SETREADONLY, TRUE);
}

bool CTZRDlg::ExchangeRecord(ExchangeDirection direction) {
    CDataExchange exchange(Handle(), direction, [this](const std::wstring& text, MessageIcon icon) {
        MessageBoxOnDialog(text, icon);
    });
    return exchange.Text(IDC_STATION_NAME, header_.stationName) &&
           exchange.Text(IDC_STATION_CODE, header_.stationCode) &&
           exchange.Text(IDC_ANTENNA_HEIGHT, header_.antennaHeightText) &&
           exchange.Text(IDC_ANTENNA_NUMBER, header_.antennaNumber) &&
           exchange.Text(IDC_RECEIVER_NUMBER, header_.receiverNumber) &&
           exchange.Text(IDC_RECEIVER_TYPE, header_.receiverType) &&
           exchange.Text(IDC_RECEIVER_VERSION, header_.receiverVersion) &&
           exchange.Double(IDC_APPROX_X, header_.approxX) &&
           exchange.Double(IDC_APPROX_Y, header_.approxY) &&
           exchange.Double(IDC_APPROX_Z, header_.approxZ) &&
           exchange.Double(IDC_INTERVAL, header_.interval) &&
           exchange.Int(IDC_LEAP_SECONDS, header_.leapSeconds);
}

void CTZRDlg::ReadHeader() {
    HeaderReadOptions options;
    options.legacyAntennaCount = legacyAntennaCount_;
    const ReaderReport report = ReadStationHeader(currentPath_, catalogue_, header_, options);
    ShowReadSteps(report);
}

// The user sees a read as it went: the path first, then its messages, then the record.
void CTZRDlg::ShowReadSteps(const ReaderReport& report) {
    for (const ReaderStep& step : report.steps) {
        switch (step.kind) {
            case ReaderStep::Kind::Path:
                SetItemText(IDC_PATH, step.text);
                break;
            case ReaderStep::Kind::Message:
                MessageBoxOnDialog(ReaderMessageText(step.message, step.text),
                                   ReaderMessageIcon(step.message));
                break;
            case ReaderStep::Kind::Record:
                ExchangeRecord(ExchangeDirection::ToControls);
                break;
            case ReaderStep::Kind::TimeOfFirstObs:
                SetItemText(IDC_TIME_OF_FIRST_OBS, step.text);
                break;
        }
    }
}

void CTZRDlg::FillComboBoxes() {
    if (Item(IDC_ANTENNA_TYPE) == nullptr)
        return;
    SendItemMessage(IDC_ANTENNA_TYPE, CB_SETMINVISIBLE, kVisibleListItems);
    SendItemMessage(IDC_ANTENNA_TYPE, CB_RESETCONTENT);
    for (int i = 0; i < catalogue_.count; ++i) {
        SendItemMessage(IDC_ANTENNA_TYPE, CB_INSERTSTRING, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(catalogue_.entries[i].name.c_str()));
    }
    SendItemMessage(IDC_ANTENNA_TYPE, CB_SETCURSEL, 0);
    // A name the catalogue lacks is offered as the file's own, so that a save keeps it.
    if (catalogue_.count > 0 && !header_.antennaTypeName.empty() &&
        catalogue_.IndexOfName(header_.antennaTypeName) < 0) {
        SendItemMessage(IDC_ANTENNA_TYPE, CB_INSERTSTRING, static_cast<WPARAM>(catalogue_.count),
                        reinterpret_cast<LPARAM>(header_.antennaTypeName.c_str()));
        SendItemMessage(IDC_ANTENNA_TYPE, CB_SETCURSEL, static_cast<WPARAM>(catalogue_.count));
    } else if (header_.antennaTypeIndex >= 0 && header_.antennaTypeIndex < catalogue_.count) {
        // The last entry bearing the record's antenna name is the one shown.
        const int shown =
            catalogue_.LastIndexOfName(catalogue_.entries[header_.antennaTypeIndex].name);
        SendItemMessage(IDC_ANTENNA_TYPE, CB_SETCURSEL, static_cast<WPARAM>(shown));
    }

    if (Item(IDC_MEASURE_TO) == nullptr)
        return;
    SendItemMessage(IDC_MEASURE_TO, CB_RESETCONTENT);
    for (size_t i = 0; i < MeasureToChoices.size(); ++i) {
        const std::wstring label(MeasureToChoices[i]);
        SendItemMessage(IDC_MEASURE_TO, CB_INSERTSTRING, i,
                        reinterpret_cast<LPARAM>(label.c_str()));
    }
    SendItemMessage(IDC_MEASURE_TO, CB_SETCURSEL, static_cast<WPARAM>(header_.measureTo));
}

void CTZRDlg::Browse() {
    const std::optional<std::wstring> chosen = services_.chooseFile(Handle());
    if (chosen)
        OpenFile(*chosen);
}

// One raw file dropped opens as Browse would open it; several, or a folder, open the campaign.
void CTZRDlg::TakeDrop(HDROP drop) {
    std::vector<std::wstring> paths = TakeDroppedFiles(drop);
    if (paths.size() == 1 && !IsFolder(paths.front()))
        OpenFile(paths.front());
    else if (!paths.empty() && services_.openCampaign)
        services_.openCampaign(Handle(), std::move(paths));
}

void CTZRDlg::OpenFile(const std::wstring& path) {
    currentPath_ = path;
    SetItemText(IDC_PATH, currentPath_);
    // Reset keeps the flag; the reader clears it again when the chosen file does not read.
    header_.headerLoaded = true;
    header_.Reset();
    ReadHeader();
    FillComboBoxes();
    savedValues_ = ShownValues();
}

bool CTZRDlg::SaveStationHeader() {
    if (!header_.headerLoaded) {
        MessageBoxOnDialog(L"请导入正确的TZR格式文件,再修改点名与天线高", MessageIcon::Error);
        return false;
    }
    if (currentPath_.empty())
        return false;
    const SaveButtonBusy busy(Item(IDC_SAVE));
    services_.wait(kBusyPause);
    return RunSave();
}

bool CTZRDlg::RunSave() {
    const LRESULT antennaSelection = SendItemMessage(IDC_ANTENNA_TYPE, CB_GETCURSEL);
    const LRESULT measureSelection = SendItemMessage(IDC_MEASURE_TO, CB_GETCURSEL);
    if (antennaSelection == CB_ERR) {
        MessageBoxOnDialog(L"天线类型列表为空，无法保存！", MessageIcon::Warning);
        return false;
    }
    header_.antennaTypeName = ListItemText(Item(IDC_ANTENNA_TYPE), antennaSelection);
    int antennaTypeIndex = catalogue_.IndexOfName(header_.antennaTypeName);
    if (antennaTypeIndex < 0)
        antennaTypeIndex =
            antennaSelection < catalogue_.count ? static_cast<int>(antennaSelection) : 0;
    const int measureTo = measureSelection == CB_ERR ? 0 : static_cast<int>(measureSelection);

    // A rejected number has been reported; the save goes on with the record's previous value.
    ExchangeRecord(ExchangeDirection::ToRecord);
    SavePlan plan = PlanSave(header_, measureTo, AnsiCodePage(), OemCodePage());
    plan.RoundHeightIn(header_);
    if (plan.refusal && plan.refusal->fault == ValueFault::NotInCodePage) {
        if (MessageBoxOnDialog(LostCharactersQuestion(*plan.refusal), MessageIcon::Question,
                               MB_YESNO | MB_DEFBUTTON2) != IDYES)
            return false;
        plan = PlanSave(header_, measureTo, AnsiCodePage(), OemCodePage(), LostCharacters::Accept);
    }
    if (plan.refusal) {
        MessageBoxOnDialog(ValueProblemText(*plan.refusal), MessageIcon::Warning);
        return false;
    }
    if (plan.headerTooLong) {
        MessageBoxOnDialog(L"文件头信息过长，无法保存！", MessageIcon::Warning);
        return false;
    }

    FileSystem& files = *services_.files;
    const bool replaceExisting = NewPathNamesAnotherFile(files, currentPath_, plan.newPath);
    if (replaceExisting &&
        MessageBoxOnDialog(L"文件已存在，是否覆盖？\n" + plan.newPath, MessageIcon::Question,
                           MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return false;

    const RewriteOutcome outcome = SaveFile(
        files, {currentPath_, plan.newPath, plan.headerText, header_.snapshot, replaceExisting});
    if (!outcome.Wrote()) {
        if (outcome.refusal != RewriteRefusal::None)
            MessageBoxOnDialog(RefusalText(outcome.refusal, currentPath_, plan.newPath),
                               outcome.refusal == RewriteRefusal::CannotOpen
                                   ? MessageIcon::Error
                                   : MessageIcon::Warning);
        else
            MessageBoxOnDialog(outcome.error, MessageIcon::Warning);
        return false;
    }
    if (outcome.onDisk != OnDisk::Saved)
        MessageBoxOnDialog(PartlySavedText(outcome.onDisk, currentPath_, outcome.path),
                           MessageIcon::Warning);
    else if (!outcome.error.empty())
        MessageBoxOnDialog(outcome.error, MessageIcon::Warning);

    currentPath_ = outcome.path;
    SetItemText(IDC_PATH, currentPath_);
    header_.snapshot = outcome.after;
    header_.headerRegionLength = static_cast<int32_t>(outcome.after.headerRegion.size());
    ExchangeRecord(ExchangeDirection::ToControls);
    header_.antennaTypeIndex = antennaTypeIndex;
    header_.measureTo = measureTo;
    savedValues_ = ShownValues();
    return outcome.onDisk == OnDisk::Saved;
}

// The editor gets a copy of the header: a save there must never turn the observation data into
// text.
void CTZRDlg::OpenInEditor() {
    if (currentPath_.empty())
        return;
    const std::optional<std::wstring> copy =
        WriteHeaderCopy(currentPath_, HeaderTextLines(header_.snapshot.headerRegion));
    if (!copy || services_.openInEditor(*copy) <= kShellExecuteFailureLimit) {
        MessageBoxOnDialog(L"无法打开，没有相关联的应用程序，或文件可能已被移除",
                           MessageIcon::Error);
    }
}

int CTZRDlg::MessageBoxOnDialog(const std::wstring& text, MessageIcon icon, UINT buttons) {
    return services_.showMessage(Handle(), text, icon, buttons);
}
