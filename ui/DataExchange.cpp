#include "ui/DataExchange.h"

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "res/resource.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace {

constexpr size_t kMaxFloatTextLength = 399;
constexpr size_t kMaxIntTextLength = 63;

}  // namespace

std::wstring CDataExchange::ControlText(int id, size_t maxLength) const {
    return WindowText(GetDlgItem(dialog_, id)).substr(0, maxLength);
}

bool CDataExchange::Fail(int id, UINT messageId) {
    failed_ = true;
    showMessage_(LoadResourceString(messageId), MessageIcon::Warning);
    const HWND control = GetDlgItem(dialog_, id);
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
    return false;
}

bool CDataExchange::Text(int id, std::wstring& value) {
    if (failed_)
        return false;
    if (direction_ == ExchangeDirection::ToControls)
        SetDlgItemTextW(dialog_, id, value.c_str());
    else
        value = ControlText(id, std::wstring::npos);
    return true;
}

bool CDataExchange::Double(int id, double& value) {
    if (failed_)
        return false;
    if (direction_ == ExchangeDirection::ToControls) {
        SetDlgItemTextW(dialog_, id,
                        WidenAscii(FormatGeneral(value, kShownSignificantDigits)).c_str());
        return true;
    }
    const std::optional<double> number = ScanWideDouble(ControlText(id, kMaxFloatTextLength));
    if (!number)
        return Fail(id, IDS_PARSE_REAL);
    value = *number;
    return true;
}

bool CDataExchange::Int(int id, int32_t& value) {
    if (failed_)
        return false;
    if (direction_ == ExchangeDirection::ToControls) {
        SetDlgItemTextW(dialog_, id, WidenAscii(FormatInt(value)).c_str());
        return true;
    }
    const std::optional<int> number = ScanWideInt(ControlText(id, kMaxIntTextLength));
    if (!number)
        return Fail(id, IDS_PARSE_INT);
    value = *number;
    return true;
}
