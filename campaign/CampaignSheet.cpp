#include "campaign/CampaignSheet.h"

#include <algorithm>
#include <cwctype>
#include <deque>
#include <map>
#include <unordered_map>

#include "campaign/FieldEdits.h"
#include "campaign/RecordCsv.h"
#include "header/CLocaleNumbers.h"
#include "header/SavePlan.h"
#include "platform/CodePage.h"
#include "platform/DirectorySeparator.h"

namespace {

std::vector<const RecordField*> EditableFields() {
    std::vector<const RecordField*> fields;
    for (const RecordField& field : RecordFields()) {
        if (field.Editable())
            fields.push_back(&field);
    }
    return fields;
}

std::optional<size_t> SheetFieldIndex(std::string_view name) {
    const std::span<const RecordField* const> fields = SheetFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i]->name == name)
            return i;
    }
    return std::nullopt;
}

bool IsCoordinate(std::string_view field) {
    return field == "x" || field == "y" || field == "z";
}

// Whether the finding is about what the column shows: the file's name, or one field.
bool Concerns(const Finding& finding, size_t column) {
    if (column == FindingsColumn())
        return true;
    if (column == kFileNameColumn)
        return finding.code == FindingCode::Unreadable || finding.code == FindingCode::LogMissing ||
               finding.code == FindingCode::NameMismatch;
    const std::string_view field = SheetFields()[column - 1]->name;
    if (finding.code == FindingCode::CoordinatesMissing ||
        finding.code == FindingCode::StationSpread)
        return IsCoordinate(field);
    return finding.field == field;
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash =
        path.find_last_of(std::wstring{kDirectorySeparator, kAlternativeSeparator});
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Folded(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

// One cell's value before and after an edit; nothing where the cell shows what the file holds.
struct CellChange {
    size_t row;
    size_t field;
    std::optional<std::wstring> before;
    std::optional<std::wstring> after;
};
using Step = std::vector<CellChange>;

// Findings in the order of their codes, so that a code's repeats stand together.
void SortByCode(std::vector<Finding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.code < b.code; });
}

}  // namespace

std::span<const RecordField* const> SheetFields() {
    static const std::vector<const RecordField*> fields = EditableFields();
    return fields;
}

size_t FieldColumn(size_t field) {
    return field + 1;
}
size_t FindingsColumn() {
    return SheetFields().size() + 1;
}
size_t SheetColumnCount() {
    return SheetFields().size() + 2;
}

class CampaignSheet::Rows {
  public:
    struct Row {
        CheckedFile file;
        // The values given, by field; empty while none is.
        std::vector<std::optional<std::wstring>> given;
        // What the record shows by itself and against the field log, then with the campaign.
        std::vector<Finding> own;
        std::vector<Finding> findings;
        int logRow = -1;
        // The log's cells that differ from the record as edited.
        FieldValues logDifferences;
        // The record as a save of the values given would write it, without the header region
        // read; null while no value is given.
        std::unique_ptr<StationHeader> edited;

        bool AnyGiven() const {
            return std::any_of(given.begin(), given.end(),
                               [](const auto& value) { return value.has_value(); });
        }
    };

    Rows(const AntennaCatalogue& catalogue, unsigned codePage)
        : catalogue(catalogue), codePage(codePage) {}

    // The record as the editor holds it before its Save.
    StationHeader Held(const Row& row) const {
        StationHeader header = row.file.header;
        HoldAsEditor(header, catalogue);
        return header;
    }

    FieldValues GivenValues(const Row& row) const {
        FieldValues values;
        for (size_t f = 0; f < row.given.size(); ++f) {
            if (row.given[f])
                values.push_back({SheetFields()[f], *row.given[f]});
        }
        return values;
    }

    // The record as a save of the row's values would write it; the file's name follows its
    // station then, as a save renames the file.
    StationHeader Edited(const Row& row) const {
        StationHeader header = Held(row);
        TakeFieldValues(header, GivenValues(row), catalogue);
        PlanSave(header, header.measureTo, codePage, OemCodePage()).RoundHeightIn(header);
        header.nameParts.stationName = header.stationName;
        header.snapshot = {};
        return header;
    }

    // The record the findings look at: as read, or as a save would write it.
    const StationHeader& Checked(const Row& row) const {
        return row.edited ? *row.edited : row.file.header;
    }

    // The field as a table shows it: as a save would write the value given to it, else as the
    // editor shows what the file holds. The texts are made when asked for, not kept for each
    // row, as a campaign has thousands of rows and a table shows a few dozen at a time.
    std::wstring FieldText(const Row& row, size_t field, const StationHeader& held) const {
        if (row.edited && row.given[field])
            return SheetFields()[field]->print(*row.edited, codePage);
        return row.file.Readable() ? SheetFields()[field]->print(held, codePage) : std::wstring();
    }

    // The row holds the file as read, without values given.
    void Fill(Row& row, CheckedFile file) {
        row.file = std::move(file);
        row.given.clear();
        row.logRow = -1;
        if (log && row.file.Readable())
            row.logRow = log->MatchFile(row.file.path, row.file.header.stationName);
        else if (log)
            log->MatchUnreadFile(row.file.path);
        FindOwn(row);
        // Until the campaign is checked again, the row shows what it shows by itself.
        row.findings = row.own;
        SortByCode(row.findings);
    }

    void FindOwn(Row& row) {
        row.edited.reset();
        if (row.file.Readable() && row.AnyGiven())
            row.edited = std::make_unique<StationHeader>(Edited(row));
        row.own = row.edited ? FileFindings({row.file.path, *row.edited, std::nullopt}, catalogue)
                             : FileFindings(row.file, catalogue);
        row.logDifferences.clear();
        if (!log)
            return;
        if (!row.file.Readable())
            return;
        if (row.logRow < 0) {
            Finding missing;
            missing.file = row.file.path;
            missing.code = FindingCode::LogMissing;
            row.own.push_back(std::move(missing));
            return;
        }
        const StationHeader& checked = Checked(row);
        row.logDifferences = log->ChangingCells(row.logRow, checked, catalogue, codePage);
        for (const FieldValue& cell : row.logDifferences) {
            Finding finding;
            finding.file = row.file.path;
            finding.code = FindingCode::LogMismatch;
            finding.field = cell.field->name;
            finding.value = cell.field->print(checked, codePage);
            finding.other = cell.text;
            finding.row = row.logRow;
            row.own.push_back(std::move(finding));
        }
    }

    void Recheck() {
        CampaignFindings together;
        for (size_t i = 0; i < all.size(); ++i) {
            const Row& row = all[i];
            if (row.edited)
                together.Add(i, {{}, *row.edited, std::nullopt});
            else
                together.Add(i, row.file);
        }
        // The paths are lent to the check and given back, not copied: at ten thousand rows a
        // copy of them all is a good part of the window's memory.
        std::vector<std::wstring> paths;
        paths.reserve(all.size());
        for (Row& row : all)
            paths.push_back(std::move(row.file.path));
        std::vector<Finding> found = together.Findings(paths);
        for (size_t i = 0; i < all.size(); ++i)
            all[i].file.path = std::move(paths[i]);
        paths = {};
        for (Row& row : all)
            row.findings = row.own;
        for (Finding& finding : found) {
            const auto at = rowOfPath.find(finding.file);
            if (at != rowOfPath.end())
                all[at->second].findings.push_back(std::move(finding));
        }
        for (Row& row : all)
            SortByCode(row.findings);
    }

    std::optional<CellRefusal> Refusal(size_t row, const Row& edited) const {
        const auto refuse = [&](CellRefusal::Reason reason, std::string_view field) {
            const std::optional<size_t> index = SheetFieldIndex(field);
            size_t at = index.value_or(0);
            if (!index) {
                for (size_t f = 0; f < edited.given.size(); ++f) {
                    if (edited.given[f]) {
                        at = f;
                        break;
                    }
                }
            }
            return CellRefusal{row, at, reason, {}, {}};
        };
        StationHeader header = Held(edited);
        if (std::optional<FieldValueProblem> problem =
                TakeFieldValues(header, GivenValues(edited), catalogue)) {
            CellRefusal refusal = refuse(CellRefusal::Reason::FieldValue, problem->field);
            refusal.fieldProblem = std::move(*problem);
            return refusal;
        }
        const SavePlan plan = PlanSave(header, header.measureTo, codePage, OemCodePage());
        if (plan.refusal) {
            CellRefusal refusal = refuse(CellRefusal::Reason::ValueRefused, plan.refusal->field);
            refusal.valueProblem = *plan.refusal;
            return refusal;
        }
        if (plan.headerTooLong)
            return refuse(CellRefusal::Reason::HeaderTooLong, {});
        return std::nullopt;
    }

    void Set(size_t row, size_t field, const std::optional<std::wstring>& value) {
        Row& target = all[row];
        if (target.given.empty())
            target.given.resize(SheetFields().size());
        target.given[field] = value;
        if (!target.AnyGiven())
            target.given.clear();
    }

    // Puts the cells of a step in their state before or after it, and checks the rows again.
    void Put(const Step& step, bool after) {
        std::vector<size_t> touched;
        for (const CellChange& change : step) {
            Set(change.row, change.field, after ? change.after : change.before);
            touched.push_back(change.row);
        }
        std::sort(touched.begin(), touched.end());
        touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
        for (const size_t row : touched)
            FindOwn(all[row]);
        Recheck();
    }

    const AntennaCatalogue& catalogue;
    unsigned codePage;
    // A deque, so that a growing campaign never holds its rows twice while they move.
    std::deque<Row> all;
    std::unordered_map<std::wstring, size_t> rowOfPath;
    std::vector<Step> undo;
    std::vector<Step> redo;
    std::optional<CampaignMatch> log;
};

CampaignSheet::CampaignSheet(const AntennaCatalogue& catalogue, unsigned codePage)
    : rows_(std::make_unique<Rows>(catalogue, codePage)) {}

CampaignSheet::~CampaignSheet() = default;

size_t CampaignSheet::Add(CheckedFile file) {
    const auto found = rows_->rowOfPath.find(file.path);
    if (found != rows_->rowOfPath.end()) {
        Replace(found->second, std::move(file));
        return found->second;
    }
    const size_t row = rows_->all.size();
    rows_->rowOfPath.emplace(file.path, row);
    rows_->all.emplace_back();
    rows_->Fill(rows_->all.back(), std::move(file));
    return row;
}

void CampaignSheet::Recheck() {
    rows_->Recheck();
}

size_t CampaignSheet::RowCount() const {
    return rows_->all.size();
}

const std::wstring& CampaignSheet::Path(size_t row) const {
    return rows_->all[row].file.path;
}

const ReadFailure* CampaignSheet::Failure(size_t row) const {
    const std::optional<ReadFailure>& failure = rows_->all[row].file.failure;
    return failure ? &*failure : nullptr;
}

std::wstring CampaignSheet::Text(size_t row, size_t column) const {
    const Rows::Row& r = rows_->all[row];
    if (column == kFileNameColumn)
        return FileNameOf(r.file.path);
    if (column == FindingsColumn()) {
        std::wstring codes;
        for (size_t i = 0; i < r.findings.size(); ++i) {
            // Findings are in the order of their codes, so that a code's repeats stand together.
            if (i > 0 && r.findings[i].code == r.findings[i - 1].code)
                continue;
            const std::string_view name = FindingCodeName(r.findings[i].code);
            codes += (codes.empty() ? L"" : L", ") + std::wstring(name.begin(), name.end());
        }
        return codes;
    }
    const size_t field = column - 1;
    if (!r.file.Readable() || (r.edited && r.given[field]))
        return rows_->FieldText(r, field, r.file.header);
    return rows_->FieldText(r, field, rows_->Held(r));
}

bool CampaignSheet::Edited(size_t row, size_t field) const {
    const Rows::Row& r = rows_->all[row];
    return !r.given.empty() && r.given[field].has_value();
}

bool CampaignSheet::AnyEdits() const {
    return std::any_of(rows_->all.begin(), rows_->all.end(),
                       [](const Rows::Row& row) { return row.AnyGiven(); });
}

const std::vector<Finding>& CampaignSheet::Findings(size_t row) const {
    return rows_->all[row].findings;
}

std::vector<const Finding*> CampaignSheet::CellFindings(size_t row, size_t column) const {
    std::vector<const Finding*> found;
    for (const Finding& finding : rows_->all[row].findings) {
        if (Concerns(finding, column))
            found.push_back(&finding);
    }
    return found;
}

std::optional<CellRefusal> CampaignSheet::Apply(const std::vector<CellEdit>& edits) {
    // Each row is checked with all of its new values, as its save would take them together.
    std::map<size_t, Rows::Row> changed;
    Step step;
    for (const CellEdit& edit : edits) {
        const Rows::Row& row = rows_->all[edit.row];
        if (!row.file.Readable())
            return CellRefusal{edit.row, edit.field, CellRefusal::Reason::Unreadable, {}, {}};
        auto [entry, added] = changed.try_emplace(edit.row);
        if (added) {
            entry->second.file.header = row.file.header;
            entry->second.given = row.given;
            entry->second.given.resize(SheetFields().size());
        }
        std::optional<std::wstring>& cell = entry->second.given[edit.field];
        const RecordField& field = *SheetFields()[edit.field];
        const std::optional<std::wstring> before = cell;
        if (KeepsFieldValue(field, rows_->Held(row), edit.text, rows_->catalogue, rows_->codePage))
            cell.reset();
        else
            cell = edit.text;
        step.push_back({edit.row, edit.field, before, cell});
    }
    for (const auto& [row, edited] : changed) {
        if (std::optional<CellRefusal> refusal = rows_->Refusal(row, edited))
            return refusal;
    }
    // Of several values given to one cell in a step, the first one's "before" is the cell's.
    std::erase_if(step, [](const CellChange& change) { return change.before == change.after; });
    if (step.empty())
        return std::nullopt;
    rows_->Put(step, true);
    rows_->undo.push_back(std::move(step));
    rows_->redo.clear();
    return std::nullopt;
}

bool CampaignSheet::CanUndo() const {
    return !rows_->undo.empty();
}
bool CampaignSheet::CanRedo() const {
    return !rows_->redo.empty();
}

bool CampaignSheet::Undo() {
    if (rows_->undo.empty())
        return false;
    Step step = std::move(rows_->undo.back());
    rows_->undo.pop_back();
    std::reverse(step.begin(), step.end());
    rows_->Put(step, false);
    std::reverse(step.begin(), step.end());
    rows_->redo.push_back(std::move(step));
    return true;
}

bool CampaignSheet::Redo() {
    if (rows_->redo.empty())
        return false;
    Step step = std::move(rows_->redo.back());
    rows_->redo.pop_back();
    rows_->Put(step, true);
    rows_->undo.push_back(std::move(step));
    return true;
}

std::vector<size_t> CampaignSheet::View(size_t column, bool ascending, bool problemsOnly) const {
    std::vector<size_t> view;
    for (size_t row = 0; row < rows_->all.size(); ++row) {
        if (!problemsOnly || !rows_->all[row].findings.empty())
            view.push_back(row);
    }
    const bool numbers = column != kFileNameColumn && column != FindingsColumn() &&
                         SheetFields()[column - 1]->kind == FieldKind::Number;
    // Each key is made once, not at each comparison of a sort of thousands of rows.
    struct Key {
        std::optional<double> number;
        std::wstring text;
    };
    std::vector<Key> keys(rows_->all.size());
    for (const size_t row : view) {
        std::wstring text = Text(row, column);
        if (numbers)
            keys[row].number = ScanWideDouble(text);
        keys[row].text = Folded(text);
    }
    const auto less = [&](size_t a, size_t b) {
        const Key& x = keys[a];
        const Key& y = keys[b];
        // Cells without a number go last either way.
        if (numbers && x.number.has_value() != y.number.has_value())
            return x.number.has_value();
        if (numbers && x.number && *x.number != *y.number)
            return ascending ? *x.number < *y.number : *x.number > *y.number;
        if (x.text != y.text)
            return ascending ? x.text < y.text : x.text > y.text;
        return a < b;
    };
    std::sort(view.begin(), view.end(), less);
    return view;
}

std::optional<size_t> CampaignSheet::Find(std::span<const size_t> view, size_t from,
                                          std::wstring_view text) const {
    if (view.empty() || text.empty())
        return std::nullopt;
    const std::wstring wanted = Folded(text);
    const auto holds = [&](const std::wstring& cell) {
        return Folded(cell).find(wanted) != std::wstring::npos;
    };
    for (size_t i = 0; i < view.size(); ++i) {
        const size_t position = (from + i) % view.size();
        const size_t row = view[position];
        if (holds(Text(row, kFileNameColumn)) || holds(Text(row, FindingsColumn())))
            return position;
        // The row's record as the editor holds it is made once for all of its fields.
        const Rows::Row& r = rows_->all[row];
        const StationHeader held = r.file.Readable() ? rows_->Held(r) : StationHeader();
        for (size_t field = 0; field < SheetFields().size(); ++field) {
            if (holds(rows_->FieldText(r, field, held)))
                return position;
        }
    }
    return std::nullopt;
}

void CampaignSheet::CompareLog(CampaignMatch log) {
    rows_->log.emplace(std::move(log));
    for (Rows::Row& row : rows_->all) {
        const std::vector<std::optional<std::wstring>> given = row.given;
        rows_->Fill(row, std::move(row.file));
        row.given = given;
        rows_->FindOwn(row);
    }
    rows_->Recheck();
}

bool CampaignSheet::HasLog() const {
    return rows_->log.has_value();
}

std::optional<std::wstring> CampaignSheet::LogText(size_t row, size_t field) const {
    for (const FieldValue& cell : rows_->all[row].logDifferences) {
        if (cell.field == SheetFields()[field])
            return cell.text;
    }
    return std::nullopt;
}

std::vector<CellEdit> CampaignSheet::LogEdits(std::span<const size_t> rows,
                                              std::span<const size_t> fields) const {
    std::vector<CellEdit> edits;
    for (const size_t row : rows) {
        for (const size_t field : fields) {
            if (std::optional<std::wstring> text = LogText(row, field))
                edits.push_back({row, field, std::move(*text)});
        }
    }
    return edits;
}

std::vector<size_t> CampaignSheet::UnmatchedLogLines() const {
    std::vector<size_t> lines;
    if (!rows_->log)
        return lines;
    for (const int row : rows_->log->UnmatchedRows())
        lines.push_back(rows_->log->Table().Line(row));
    return lines;
}

SetBatchRequest CampaignSheet::SaveRequest(std::vector<size_t>& rows) const {
    SetBatchRequest request;
    request.codePage = rows_->codePage;
    rows.clear();
    for (size_t row = 0; row < rows_->all.size(); ++row) {
        const Rows::Row& r = rows_->all[row];
        if (!r.AnyGiven())
            continue;
        rows.push_back(row);
        request.files.Add(r.file.path);
        request.fileEdits.push_back(rows_->GivenValues(r));
        request.readSnapshots.push_back(r.file.header.snapshot);
    }
    return request;
}

void CampaignSheet::Replace(size_t row, CheckedFile file) {
    Rows::Row& r = rows_->all[row];
    if (file.path != r.file.path) {
        rows_->rowOfPath.erase(r.file.path);
        rows_->rowOfPath[file.path] = row;
    }
    rows_->Fill(r, std::move(file));
    // Steps made on what the file held before would give its cells values it never showed.
    rows_->undo.clear();
    rows_->redo.clear();
}

std::optional<std::vector<std::string>> CampaignSheet::CsvRecord(size_t row) const {
    const Rows::Row& r = rows_->all[row];
    if (!r.file.Readable())
        return std::nullopt;
    return RecordCsvRow(r.file.path, rows_->Checked(r), rows_->codePage);
}

std::vector<std::vector<std::wstring>> ParseTabSeparated(std::wstring_view text) {
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::wstring> cells;
    std::wstring cell;
    bool quoted = false;
    bool cellStarted = false;
    const auto endCell = [&] {
        cells.push_back(std::move(cell));
        cell.clear();
        cellStarted = false;
    };
    const auto endRow = [&] {
        endCell();
        rows.push_back(std::move(cells));
        cells.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (quoted) {
            if (c != L'"')
                cell += c;
            else if (i + 1 < text.size() && text[i + 1] == L'"')
                cell += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == L'"' && !cellStarted) {
            quoted = true;
            cellStarted = true;
        } else if (c == L'\t') {
            endCell();
        } else if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            endRow();
        } else {
            cell += c;
            cellStarted = true;
        }
    }
    if (cellStarted || !cells.empty())
        endRow();
    return rows;
}

std::wstring TabSeparated(const std::vector<std::vector<std::wstring>>& cells) {
    std::wstring text;
    for (const std::vector<std::wstring>& row : cells) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += L'\t';
            const std::wstring& cell = row[i];
            if (cell.find_first_of(L"\t\r\n\"") == std::wstring::npos) {
                text += cell;
                continue;
            }
            text += L'"';
            for (const wchar_t c : cell)
                text += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
            text += L'"';
        }
        text += L"\r\n";
    }
    return text;
}

std::vector<CellEdit> PasteEdits(std::span<const size_t> view, size_t viewRow, size_t field,
                                 const std::vector<std::vector<std::wstring>>& cells) {
    std::vector<CellEdit> edits;
    for (size_t r = 0; r < cells.size() && viewRow + r < view.size(); ++r) {
        for (size_t c = 0; c < cells[r].size() && field + c < SheetFields().size(); ++c)
            edits.push_back({view[viewRow + r], field + c, cells[r][c]});
    }
    return edits;
}
