// Any bytes as a campaign table: it is refused with a reason or read into rows whose cells name
// editable fields only, and the rows a spreadsheet would see read back the same once written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "campaign/Campaign.h"
#include "campaign/Csv.h"
#include "header/FieldTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<Campaign> campaign = Campaign::Parse(text, error);
    FUZZ_CHECK(campaign.has_value() || !error.empty());
    if (campaign) {
        for (size_t row = 0; row < campaign->RowCount(); ++row) {
            FUZZ_CHECK(!campaign->Describe(static_cast<int>(row)).empty());
            for (const FieldValue& cell : campaign->Cells(static_cast<int>(row))) {
                const RecordField* field = FindRecordField(cell.field->name);
                FUZZ_CHECK(field != nullptr && field->Editable());
            }
        }
    }

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
