#include "ui/CellTip.h"

namespace {

constexpr int kTipWidth = 480;
// Below and right of the mouse, clear of its pointer.
constexpr int kOffset = 16;

}  // namespace

CellTip::~CellTip() {
    if (tip_ != nullptr)
        DestroyWindow(tip_);
}

TTTOOLINFOW CellTip::Tool() {
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = owner_;
    tool.uId = 1;
    tool.lpszText = text_.data();
    return tool;
}

void CellTip::Create(HWND owner) {
    owner_ = owner;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
    if (tip_ == nullptr)
        return;
    text_ = L" ";
    TTTOOLINFOW tool = Tool();
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
}

void CellTip::Show(POINT screen, const std::wstring& text) {
    if (tip_ == nullptr)
        return;
    TTTOOLINFOW tool = Tool();
    if (text.empty()) {
        SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    text_ = text;
    tool = Tool();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x + kOffset, screen.y + kOffset));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}
