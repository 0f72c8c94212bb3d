#include "ui/DroppedFiles.h"

#include <shellapi.h>

namespace {

// What a drop sends across the rights boundary besides WM_DROPFILES.
constexpr UINT kCopyGlobalData = 0x0049;

}  // namespace

void AcceptDroppedFiles(HWND window) {
    DragAcceptFiles(window, TRUE);
    for (const UINT message :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

std::vector<std::wstring> TakeDroppedFiles(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    return paths;
}
