#include "ui/ListView.h"

#include <algorithm>

void ListView::AddColumn(int column, const std::wstring& title, int width) {
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = const_cast<wchar_t*>(title.c_str());
    info.cx = width;
    info.iSubItem = column;
    ListView_InsertColumn(window_, column, &info);
}

void ListView::SetItemCount(size_t count) {
    ListView_SetItemCountEx(window_, static_cast<int>(count),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(window_, nullptr, FALSE);
}

std::vector<int> ListView::SelectedItems() const {
    std::vector<int> items;
    for (int item = ListView_GetNextItem(window_, -1, LVNI_SELECTED); item >= 0;
         item = ListView_GetNextItem(window_, item, LVNI_SELECTED))
        items.push_back(item);
    return items;
}

std::optional<int> ListView::FocusedItem() const {
    const int item = ListView_GetNextItem(window_, -1, LVNI_FOCUSED);
    if (item < 0)
        return std::nullopt;
    return item;
}

void ListView::Select(const std::vector<int>& items) {
    ListView_SetItemState(window_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const int item : items)
        ListView_SetItemState(window_, item, LVIS_SELECTED, LVIS_SELECTED);
    if (items.empty())
        return;
    ListView_SetItemState(window_, items.front(), LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetSelectionMark(window_, items.front());
    ListView_EnsureVisible(window_, items.front(), FALSE);
}

void ListView::SelectAll() {
    ListView_SetItemState(window_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void ListView::ShowSortArrow(std::optional<int> column, bool ascending) {
    const HWND header = ListView_GetHeader(window_);
    const int count = Header_GetItemCount(header);
    for (int i = 0; i < count; ++i) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column && *column == i)
            item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, i, &item);
    }
}

RECT ListView::CellRect(int item, int column) const {
    RECT rect = {};
    ListView_GetSubItemRect(window_, item, column, LVIR_BOUNDS, &rect);
    // The first column's bounds are the whole row's.
    if (column == 0)
        rect.right = rect.left + ListView_GetColumnWidth(window_, 0);
    return rect;
}

void ListView::ScrollColumnIntoView(int column) {
    const std::optional<int> item = FocusedItem();
    const RECT cell = CellRect(item.value_or(ListView_GetTopIndex(window_)), column);
    RECT client;
    GetClientRect(window_, &client);
    if (cell.left < client.left)
        ListView_Scroll(window_, cell.left - client.left, 0);
    else if (cell.right > client.right)
        ListView_Scroll(window_, std::min(cell.right - client.right, cell.left - client.left), 0);
}

std::optional<std::pair<int, int>> ListView::HitTest(POINT point) const {
    LVHITTESTINFO hit = {};
    hit.pt = point;
    if (ListView_SubItemHitTest(window_, &hit) < 0 || hit.iItem < 0)
        return std::nullopt;
    return std::pair{hit.iItem, hit.iSubItem};
}
