#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "campaign/CampaignSheet.h"
#include "ui/ListView.h"

// The field of a column, by its index in SheetFields(); nothing for the file name and findings.
std::optional<size_t> FieldOfColumn(size_t column);

// A campaign sheet as a list view shows it: the rows in the view's order (sorted by a column,
// or only those with findings), one current cell that editing starts from, and cells coloured
// after what check finds in them. The list view asks for each text it draws, so that the table
// costs the same for ten rows as for ten thousand.
class SheetTable {
  public:
    SheetTable(HWND list, const CampaignSheet& sheet) : list_(list), sheet_(sheet) {}

    ListView& List() { return list_; }
    const ListView& List() const { return list_; }
    void CreateColumns();

    // Takes the sheet's rows as they are now into the view; the selected rows stay selected.
    void Refresh();
    // Sorts by the column, the other way round when it is sorted by it already.
    void SortBy(size_t column);
    void ShowProblemsOnly(bool problemsOnly);
    bool ProblemsOnly() const { return problemsOnly_; }

    const std::vector<size_t>& View() const { return view_; }
    std::optional<size_t> PositionOf(size_t row) const;
    // Selected rows, in the view's order.
    std::vector<size_t> SelectedRows() const;
    std::optional<size_t> FocusedPosition() const;
    std::optional<size_t> FocusedRow() const;
    // Selects the rows that the view shows, the focus on the first.
    void SelectRows(const std::vector<size_t>& rows);

    size_t CurrentColumn() const { return currentColumn_; }
    void SetCurrentColumn(size_t column);
    void MoveCurrentColumn(int step);
    // Selects the row alone and makes the column current, as a refused value is shown.
    void FocusCell(size_t row, size_t column);
    // Rectangle of the current cell in the list view's client coordinates; nothing when no row
    // has the focus.
    std::optional<RECT> CurrentCellRect() const;

    // A cell shown as refused until the next edit.
    void MarkRefused(std::optional<std::pair<size_t, size_t>> cell) { refused_ = cell; }
    // A note in the row's findings column, such as that its file changed on disk; empty removes it.
    void SetNote(size_t row, const std::wstring& note);
    const std::wstring* Note(size_t row) const;

    void GetDisplayInfo(NMLVDISPINFOW& info) const;
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;

  private:
    std::wstring CellText(size_t row, size_t column) const;
    void Reselect(const std::vector<size_t>& rows, std::optional<size_t> focused);

    ListView list_;
    const CampaignSheet& sheet_;
    std::vector<size_t> view_;
    // Each row's position in the view, or kNotShown.
    static constexpr size_t kNotShown = static_cast<size_t>(-1);
    std::vector<size_t> positions_;
    std::optional<size_t> sortColumn_;
    bool ascending_ = true;
    bool problemsOnly_ = false;
    size_t currentColumn_ = 1;
    std::optional<std::pair<size_t, size_t>> refused_;
    std::map<size_t, std::wstring> notes_;
};
