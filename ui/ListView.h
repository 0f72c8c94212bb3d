#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

// A list view in report view with owner data: it holds no text, only a number of items, and
// asks its owner for what it shows.
class ListView {
  public:
    explicit ListView(HWND window = nullptr) : window_(window) {}

    HWND Handle() const { return window_; }

    void AddColumn(int column, const std::wstring& title, int width);
    // Keeps the selection and the focus where they are as far as the new count allows.
    void SetItemCount(size_t count);
    // Selected items, in order.
    std::vector<int> SelectedItems() const;
    // The item with the focus; nothing when none has it.
    std::optional<int> FocusedItem() const;
    // Selects the items and gives the first one the focus, scrolled into view.
    void Select(const std::vector<int>& items);
    // Selects every item at once, with one notification instead of one an item.
    void SelectAll();
    // The arrow in the header of `column`; every other column loses its arrow.
    void ShowSortArrow(std::optional<int> column, bool ascending);
    // The cell's rectangle in the list view's client coordinates.
    RECT CellRect(int item, int column) const;
    // Scrolls horizontally until the column is in view.
    void ScrollColumnIntoView(int column);
    // The item and column under a point of the client area; nothing beside the items.
    std::optional<std::pair<int, int>> HitTest(POINT point) const;

  private:
    HWND window_;
};
