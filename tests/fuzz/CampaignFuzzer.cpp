// Any bytes as a campaign table: it is refused with a reason and, for a line-bound reason, a line
// within the text, or read into rows whose cells name editable fields only; fed in pieces it reads
// as in one piece; and the rows a spreadsheet would see read back the same once written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "campaign/CampaignLoad.h"
#include "campaign/Csv.h"
#include "header/FieldTable.h"

namespace {

// At most: a CR LF is one line end, a CR or an LF alone is one too.
size_t LineCount(std::string_view text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n') +
                               std::count(text.begin(), text.end(), '\r')) +
           1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const LoadedTable loaded = LoadCampaignTable(text, {std::nullopt, 1252});
    FUZZ_CHECK(loaded.table.has_value() != (loaded.error.problem != TableProblem::None));
    FUZZ_CHECK(loaded.error.line <= LineCount(text));
    if (loaded.table) {
        for (size_t row = 0; row < loaded.table->RowCount(); ++row) {
            FUZZ_CHECK(loaded.table->Line(static_cast<int>(row)) <= LineCount(text));
            for (const FieldValue& cell : loaded.table->Cells(static_cast<int>(row))) {
                const RecordField* field = FindRecordField(cell.field->name);
                FUZZ_CHECK(field != nullptr && field->Editable());
            }
        }
    }
    CampaignLoader pieces({std::nullopt, 1252});
    for (size_t at = 0; at < text.size(); at += 7)
        pieces.Read(std::string_view(text).substr(at, 7));
    const LoadedTable again = pieces.Finish();
    FUZZ_CHECK(again.error.problem == loaded.error.problem &&
               again.error.line == loaded.error.line);
    FUZZ_CHECK(!again.table || again.table->RowCount() == loaded.table->RowCount());

    std::string error;
    const std::optional<std::vector<CsvRow>> rows = ParseCsv(text, error);
    if (!rows)
        return 0;
    // Only a byte-order mark at the very start is taken for one.
    std::string written = "\r\n";
    std::vector<CsvRow> kept;
    for (const CsvRow& row : *rows) {
        if (row.size() == 1 && row[0].empty())
            continue;
        kept.push_back(row);
        written += CsvLine(row) + "\r\n";
    }
    const std::optional<std::vector<CsvRow>> reread = ParseCsv(written, error);
    FUZZ_CHECK(reread && *reread == kept);
    return 0;
}
