#include "ui/ClipboardText.h"

#include <cstring>

namespace {

// Open for as long as it lives: another program waits for the clipboard meanwhile.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool IsOpen() const { return open_; }

  private:
    bool open_;
};

}  // namespace

std::optional<std::wstring> ClipboardText(HWND owner) {
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen())
        return std::nullopt;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr)
        return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (text == nullptr)
        return std::nullopt;
    // A program may leave the terminating zero out: never read beyond the block.
    const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    std::wstring result(text, wcsnlen(text, capacity));
    GlobalUnlock(data);
    return result;
}

bool SetClipboardText(HWND owner, const std::wstring& text) {
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard())
        return false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (data == nullptr)
        return false;
    void* block = GlobalLock(data);
    if (block == nullptr) {
        GlobalFree(data);
        return false;
    }
    std::memcpy(block, text.c_str(), bytes);
    GlobalUnlock(data);
    if (SetClipboardData(CF_UNICODETEXT, data) == nullptr) {
        GlobalFree(data);
        return false;
    }
    return true;
}
