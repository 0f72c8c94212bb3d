#include "ui/SheetTable.h"

#include <algorithm>

#include "header/MeasureToChoices.h"
#include "ui/CampaignTexts.h"

namespace {

constexpr int kFileNameWidth = 150;
constexpr int kFieldWidth = 90;
constexpr int kFindingsWidth = 220;

constexpr COLORREF kFindingBackground = RGB(255, 214, 214);
constexpr COLORREF kSelectedFindingBackground = RGB(240, 170, 180);
constexpr COLORREF kEditedBackground = RGB(255, 244, 190);
constexpr COLORREF kSelectedBackground = RGB(204, 228, 247);
constexpr COLORREF kCurrentBackground = RGB(0, 102, 204);
constexpr COLORREF kRefusedBackground = RGB(200, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A measure-to code as the editor's list shows it: its label.
std::wstring MeasureToShown(const std::wstring& code) {
    for (size_t i = 0; i < MeasureToChoices.size(); ++i) {
        if (code == std::to_wstring(i))
            return std::wstring(MeasureToChoices[i]);
    }
    return code;
}

bool IsMeasureToColumn(size_t column) {
    const std::optional<size_t> field = FieldOfColumn(column);
    return field && SheetFields()[*field]->name == "measure-to";
}

}  // namespace

std::optional<size_t> FieldOfColumn(size_t column) {
    if (column == kFileNameColumn || column >= FindingsColumn())
        return std::nullopt;
    return column - 1;
}

void SheetTable::CreateColumns() {
    ListView_SetExtendedListViewStyle(list_.Handle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES |
                                                          LVS_EX_DOUBLEBUFFER |
                                                          LVS_EX_HEADERDRAGDROP);
    for (size_t column = 0; column < SheetColumnCount(); ++column) {
        const int width = column == kFileNameColumn    ? kFileNameWidth
                          : column == FindingsColumn() ? kFindingsWidth
                                                       : kFieldWidth;
        list_.AddColumn(static_cast<int>(column), ColumnTitle(column), width);
    }
    // The findings beside the file name, where they are seen without scrolling.
    std::vector<int> order = {static_cast<int>(kFileNameColumn),
                              static_cast<int>(FindingsColumn())};
    for (size_t field = 0; field < SheetFields().size(); ++field)
        order.push_back(static_cast<int>(FieldColumn(field)));
    ListView_SetColumnOrderArray(list_.Handle(), static_cast<int>(order.size()), order.data());
}

void SheetTable::Refresh() {
    std::vector<size_t> previous = std::move(view_);
    if (sortColumn_) {
        view_ = sheet_.View(*sortColumn_, ascending_, problemsOnly_);
    } else {
        view_.clear();
        for (size_t row = 0; row < sheet_.RowCount(); ++row) {
            if (!problemsOnly_ || !sheet_.Findings(row).empty())
                view_.push_back(row);
        }
    }
    // Most edits leave every row where it was: the selection stands, only the texts change.
    if (view_ == previous) {
        InvalidateRect(list_.Handle(), nullptr, FALSE);
        return;
    }
    // Rows read come after those shown, which keep their places and so their selection: nothing
    // to select again, for each batch of a reading.
    if (previous.size() < view_.size() &&
        std::equal(previous.begin(), previous.end(), view_.begin())) {
        positions_.resize(sheet_.RowCount(), kNotShown);
        for (size_t position = previous.size(); position < view_.size(); ++position)
            positions_[view_[position]] = position;
        list_.SetItemCount(view_.size());
        return;
    }
    std::swap(view_, previous);
    const std::vector<size_t> selected = SelectedRows();
    const std::optional<size_t> focused = FocusedRow();
    std::swap(view_, previous);
    positions_.assign(sheet_.RowCount(), kNotShown);
    for (size_t position = 0; position < view_.size(); ++position)
        positions_[view_[position]] = position;
    list_.SetItemCount(view_.size());
    Reselect(selected, focused);
}

void SheetTable::Reselect(const std::vector<size_t>& rows, std::optional<size_t> focused) {
    std::vector<int> items;
    for (const size_t row : rows) {
        if (const std::optional<size_t> position = PositionOf(row))
            items.push_back(static_cast<int>(*position));
    }
    std::sort(items.begin(), items.end());
    // The focused row leads, so that Select gives it the focus back.
    if (focused) {
        if (const std::optional<size_t> position = PositionOf(*focused)) {
            const int item = static_cast<int>(*position);
            items.erase(std::remove(items.begin(), items.end(), item), items.end());
            items.insert(items.begin(), item);
        }
    }
    list_.Select(items);
}

void SheetTable::SortBy(size_t column) {
    ascending_ = sortColumn_ == column ? !ascending_ : true;
    sortColumn_ = column;
    list_.ShowSortArrow(static_cast<int>(column), ascending_);
    Refresh();
}

void SheetTable::ShowProblemsOnly(bool problemsOnly) {
    problemsOnly_ = problemsOnly;
    Refresh();
}

std::optional<size_t> SheetTable::PositionOf(size_t row) const {
    if (row >= positions_.size() || positions_[row] == kNotShown)
        return std::nullopt;
    return positions_[row];
}

std::vector<size_t> SheetTable::SelectedRows() const {
    std::vector<size_t> rows;
    for (const int item : list_.SelectedItems()) {
        if (static_cast<size_t>(item) < view_.size())
            rows.push_back(view_[static_cast<size_t>(item)]);
    }
    return rows;
}

std::optional<size_t> SheetTable::FocusedPosition() const {
    const std::optional<int> item = list_.FocusedItem();
    if (!item || static_cast<size_t>(*item) >= view_.size())
        return std::nullopt;
    return static_cast<size_t>(*item);
}

std::optional<size_t> SheetTable::FocusedRow() const {
    const std::optional<size_t> position = FocusedPosition();
    if (!position)
        return std::nullopt;
    return view_[*position];
}

void SheetTable::SelectRows(const std::vector<size_t>& rows) {
    Reselect(rows, rows.empty() ? std::nullopt : std::optional<size_t>(rows.front()));
}

void SheetTable::SetCurrentColumn(size_t column) {
    currentColumn_ = std::min(column, SheetColumnCount() - 1);
    list_.ScrollColumnIntoView(static_cast<int>(currentColumn_));
    InvalidateRect(list_.Handle(), nullptr, FALSE);
}

// In the order the columns stand on the screen, which the user may change by dragging them.
void SheetTable::MoveCurrentColumn(int step) {
    std::vector<int> order(SheetColumnCount());
    ListView_GetColumnOrderArray(list_.Handle(), static_cast<int>(order.size()), order.data());
    const auto at = std::find(order.begin(), order.end(), static_cast<int>(currentColumn_));
    const int position = at == order.end() ? 0 : static_cast<int>(at - order.begin());
    const int last = static_cast<int>(order.size()) - 1;
    SetCurrentColumn(
        static_cast<size_t>(order[static_cast<size_t>(std::clamp(position + step, 0, last))]));
}

void SheetTable::FocusCell(size_t row, size_t column) {
    SelectRows({row});
    SetCurrentColumn(column);
}

std::optional<RECT> SheetTable::CurrentCellRect() const {
    const std::optional<size_t> position = FocusedPosition();
    if (!position)
        return std::nullopt;
    return list_.CellRect(static_cast<int>(*position), static_cast<int>(currentColumn_));
}

void SheetTable::SetNote(size_t row, const std::wstring& note) {
    if (note.empty())
        notes_.erase(row);
    else
        notes_[row] = note;
}

const std::wstring* SheetTable::Note(size_t row) const {
    const auto found = notes_.find(row);
    return found == notes_.end() ? nullptr : &found->second;
}

std::wstring SheetTable::CellText(size_t row, size_t column) const {
    std::wstring text = sheet_.Text(row, column);
    if (IsMeasureToColumn(column))
        return MeasureToShown(text);
    if (column == FindingsColumn()) {
        if (const std::wstring* note = Note(row))
            text = *note + (text.empty() ? L"" : L"；" + text);
        else if (const ReadFailure* failure = sheet_.Failure(row))
            text += L" " + UnreadableText(*failure);
    }
    return text;
}

void SheetTable::GetDisplayInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.cchTextMax <= 0)
        return;
    const auto position = static_cast<size_t>(item.iItem);
    if (position >= view_.size())
        return;
    const std::wstring text = CellText(view_[position], static_cast<size_t>(item.iSubItem));
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy_n(text.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
}

// Selection is drawn here rather than by the list view, which would paint over the colours of
// the cells with findings in every selected row.
LRESULT SheetTable::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            break;
        default:
            return CDRF_DODEFAULT;
    }
    draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    const auto position = static_cast<size_t>(draw.nmcd.dwItemSpec);
    if (position >= view_.size())
        return CDRF_DODEFAULT;
    const size_t row = view_[position];
    const auto column = static_cast<size_t>(draw.iSubItem);
    const int item = static_cast<int>(position);
    const bool selected = ListView_GetItemState(list_.Handle(), item, LVIS_SELECTED) != 0;
    const bool current = selected &&
                         ListView_GetItemState(list_.Handle(), item, LVIS_FOCUSED) != 0 &&
                         column == currentColumn_;
    const bool finding = column == FindingsColumn() ? !sheet_.Findings(row).empty()
                                                    : !sheet_.CellFindings(row, column).empty();
    const std::optional<size_t> field = FieldOfColumn(column);
    const bool edited = field && sheet_.Edited(row, *field);
    const bool refused = refused_ && refused_->first == row && refused_->second == column;

    draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
    draw.clrTextBk = GetSysColor(COLOR_WINDOW);
    if (refused || current) {
        draw.clrText = kWhite;
        draw.clrTextBk = refused ? kRefusedBackground : kCurrentBackground;
    } else if (finding) {
        draw.clrTextBk = selected ? kSelectedFindingBackground : kFindingBackground;
    } else if (selected) {
        draw.clrTextBk = kSelectedBackground;
    } else if (edited) {
        draw.clrTextBk = kEditedBackground;
    }
    return CDRF_NEWFONT;
}
