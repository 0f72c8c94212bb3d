#include "cli/CampaignFile.h"

#include <algorithm>

#include "cli/CodePageHint.h"
#include "cli/ReadProblem.h"
#include "campaign/TableEncoding.h"
#include "cli/ToolOptions.h"
#include "platform/Utf8.h"
#include "platform/FileSystem.h"

namespace {

bool HasHighBytes(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

Campaign LoadCampaignFile(const std::wstring& path, std::optional<unsigned> tableCodePage,
                          unsigned headerCodePage, std::ostream& err) {
    const std::string name = ToUtf8(path);
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        throw UsageError{name + ": " + UnreadableReason(path).value_or("cannot read it"), false};
    std::string error;
    const std::optional<TableText> text =
        ReadTableText(*bytes, tableCodePage, headerCodePage, error);
    std::optional<Campaign> campaign;
    if (text)
        campaign = Campaign::Parse(text->utf8, error);
    if (!campaign)
        throw UsageError{name + ": " + error, false};
    if (IsWesternSingleByte(text->codePage) && HasHighBytes(*bytes))
        err << "tzrhdr: " << name << ": read in code page " << text->codePage
            << "; for a Chinese table give --encoding 936\n";
    std::string ignored;
    for (const std::string& column : campaign->IgnoredColumns())
        ignored += (ignored.empty() ? "" : ", ") + column;
    if (!ignored.empty())
        err << "tzrhdr: " << name << ": read-only columns ignored: " << ignored << "\n";
    return std::move(*campaign);
}
