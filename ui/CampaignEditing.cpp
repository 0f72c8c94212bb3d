// Cells edited in place, pasted and copied, found, and taken from the field log.
#include "ui/CampaignWindow.h"

#include <algorithm>

#include "campaign/CampaignLoad.h"
#include "header/FieldTable.h"
#include "header/MeasureToChoices.h"
#include "res/resource.h"
#include "ui/CampaignTexts.h"
#include "ui/ClipboardText.h"

namespace {

// What the cell's drop-down offers: the catalogue's names, or the measure-to labels.
std::vector<std::wstring> ChoicesFor(const RecordField& field, const AntennaCatalogue& catalogue) {
    std::vector<std::wstring> choices;
    if (field.name == "antenna-type") {
        for (int i = 0; i < catalogue.count; ++i) {
            if (std::find(choices.begin(), choices.end(), catalogue.entries[i].name) ==
                choices.end())
                choices.push_back(catalogue.entries[i].name);
        }
    } else if (field.name == "measure-to") {
        for (const std::wstring_view label : MeasureToChoices)
            choices.emplace_back(label);
    }
    return choices;
}

// A measure-to cell may show the code; its drop-down shows the label.
std::wstring ChoiceText(const RecordField& field, const std::wstring& text) {
    if (field.name == "measure-to" && text.size() == 1 && text[0] >= L'0' &&
        text[0] < L'0' + static_cast<wchar_t>(MeasureToChoices.size()))
        return std::wstring(MeasureToChoices[static_cast<size_t>(text[0] - L'0')]);
    return text;
}

}  // namespace

void CCampaignWindow::StartEdit() {
    if (RefuseWhileWriting())
        return;
    const std::optional<size_t> row = table_->FocusedRow();
    if (!row)
        return;
    if (!FieldOfColumn(table_->CurrentColumn()))
        table_->SetCurrentColumn(FieldColumn(0));
    const size_t column = table_->CurrentColumn();
    const std::optional<RECT> cell = table_->CurrentCellRect();
    if (!cell)
        return;
    std::vector<size_t> rows = table_->SelectedRows();
    if (std::find(rows.begin(), rows.end(), *row) == rows.end())
        rows = {*row};
    editRows_ = std::move(rows);
    editField_ = column - 1;
    const RecordField& field = *SheetFields()[editField_];

    RECT rect = *cell;
    MapWindowPoints(Item(IDC_CAMPAIGN_LIST), Handle(), reinterpret_cast<POINT*>(&rect), 2);
    const auto font = reinterpret_cast<HFONT>(SendItemMessage(IDC_CAMPAIGN_LIST, WM_GETFONT));
    editor_.Open(Handle(), IDC_CELL_EDITOR, rect, font,
                 ChoiceText(field, sheet_->Text(*row, column)), ChoicesFor(field, catalogue_));
    if (editRows_.size() > 1)
        SetStatus(L"输入的值将用于所选的 " + std::to_wstring(editRows_.size()) + L" 行");
}

void CCampaignWindow::CommitEdit() {
    if (!editor_.IsOpen())
        return;
    const std::wstring text = editor_.Text();
    editor_.Close();
    std::vector<CellEdit> edits;
    for (const size_t row : editRows_)
        edits.push_back({row, editField_, text});
    ApplyEdits(edits);
}

void CCampaignWindow::CancelEdit() {
    editor_.Close();
    SetFocus(Item(IDC_CAMPAIGN_LIST));
}

void CCampaignWindow::ApplyEdits(const std::vector<CellEdit>& edits) {
    if (edits.empty() || RefuseWhileWriting())
        return;
    const std::optional<CellRefusal> refusal = sheet_->Apply(edits);
    table_->Refresh();
    if (refusal) {
        const size_t column = FieldColumn(refusal->field);
        table_->FocusCell(refusal->row, column);
        table_->MarkRefused(std::pair{refusal->row, column});
        SetStatus(L"未接受：" + CellRefusalText(*refusal));
        MessageBeep(MB_ICONWARNING);
        return;
    }
    table_->MarkRefused(std::nullopt);
    statusOverride_.clear();
    UpdateStatus();
}

void CCampaignWindow::UndoEdit(bool redo) {
    if (RefuseWhileWriting())
        return;
    CommitEdit();
    if (!(redo ? sheet_->Redo() : sheet_->Undo())) {
        SetStatus(redo ? L"没有可重做的修改" : L"没有可撤销的修改");
        return;
    }
    table_->MarkRefused(std::nullopt);
    table_->Refresh();
    statusOverride_.clear();
    UpdateStatus();
}

void CCampaignWindow::CopyCells() {
    std::vector<std::vector<std::wstring>> cells;
    for (const size_t row : table_->SelectedRows()) {
        std::vector<std::wstring> line;
        for (size_t column = 0; column < SheetColumnCount(); ++column)
            line.push_back(sheet_->Text(row, column));
        cells.push_back(std::move(line));
    }
    if (!cells.empty())
        SetClipboardText(Handle(), TabSeparated(cells));
}

void CCampaignWindow::PasteCells() {
    const std::optional<size_t> position = table_->FocusedPosition();
    const std::optional<std::wstring> text = ClipboardText(Handle());
    if (!position || !text)
        return;
    const std::vector<std::vector<std::wstring>> cells = ParseTabSeparated(*text);
    if (cells.empty())
        return;
    const size_t field = FieldOfColumn(table_->CurrentColumn()).value_or(0);
    const std::vector<size_t> selected = table_->SelectedRows();
    // One value over several rows fills them all, as a spreadsheet does.
    if (cells.size() == 1 && cells[0].size() == 1 && selected.size() > 1) {
        std::vector<CellEdit> edits;
        for (const size_t row : selected)
            edits.push_back({row, field, cells[0][0]});
        ApplyEdits(edits);
        return;
    }
    ApplyEdits(PasteEdits(table_->View(), *position, field, cells));
}

void CCampaignWindow::FindNext() {
    const std::wstring text = ItemText(IDC_FIND_TEXT);
    if (text.empty()) {
        RunCommand(ID_FIND);
        return;
    }
    const std::optional<size_t> focused = table_->FocusedPosition();
    const size_t from = focused ? *focused + 1 : 0;
    const std::optional<size_t> found = sheet_->Find(table_->View(), from, text);
    if (!found) {
        SetStatus(L"未找到“" + text + L"”");
        return;
    }
    table_->SelectRows({table_->View()[*found]});
    SetFocus(Item(IDC_CAMPAIGN_LIST));
}

void CCampaignWindow::ImportLog() {
    CommitEdit();
    if (RefuseWhileWriting())
        return;
    const std::optional<std::wstring> path = services_.chooseTable(Handle());
    if (!path)
        return;
    LoadedTable loaded = LoadCampaignTable(*services_.files, *path, {std::nullopt, codePage_});
    if (!loaded.table) {
        Message(TableErrorText(loaded.error), MessageIcon::Error);
        return;
    }
    sheet_->CompareLog(CampaignMatch(std::move(*loaded.table)));
    table_->Refresh();
    UpdateStatus();
    const std::vector<size_t> unmatched = sheet_->UnmatchedLogLines();
    if (unmatched.empty())
        return;
    std::wstring lines;
    for (const size_t line : unmatched)
        lines += (lines.empty() ? L"" : L"、") + std::to_wstring(line);
    Message(L"外业记录中这些行没有对应的文件：第 " + lines + L" 行", MessageIcon::Information);
}

void CCampaignWindow::AcceptLog(bool wholeColumn, bool everything) {
    CommitEdit();
    if (!sheet_->HasLog()) {
        SetStatus(L"请先导入外业记录");
        return;
    }
    const std::optional<size_t> field = FieldOfColumn(table_->CurrentColumn());
    std::vector<size_t> fields;
    if (everything) {
        for (size_t i = 0; i < SheetFields().size(); ++i)
            fields.push_back(i);
    } else if (field) {
        fields.push_back(*field);
    }
    const std::vector<size_t> rows =
        everything || wholeColumn ? table_->View() : table_->SelectedRows();
    ApplyEdits(sheet_->LogEdits(rows, fields));
}
