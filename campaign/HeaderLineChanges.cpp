#include "campaign/HeaderLineChanges.h"

#include <string_view>

#include "header/HeaderKeys.h"
#include "header/HeaderReader.h"
#include "header/HeaderText.h"

namespace {

std::vector<std::string_view> CrLfLinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t end; (end = text.find("\r\n")) != std::string_view::npos;
         text.remove_prefix(end + 2))
        lines.push_back(text.substr(0, end));
    return lines;
}

// The key of a written header line: its text up to the colon ("ver" for the version line).
std::string_view KeyOf(std::string_view line) {
    if (line.starts_with(kVersionKey) && line.substr(kVersionKey.size(), 1) == " ")
        return kVersionKey;
    const size_t colon = line.find(':');
    return colon == std::string_view::npos ? line : line.substr(0, colon + 1);
}

}  // namespace

std::vector<HeaderLineChange> HeaderLineChanges(const std::string& fileStart,
                                                const std::string& newHeader, unsigned codePage) {
    const HeaderText oldHeader(fileStart);
    const std::vector<std::string_view> newLines = CrLfLinesOf(newHeader);
    std::vector<HeaderLineChange> changes;
    for (size_t i = 0; i < newLines.size(); ++i) {
        std::optional<HeaderLine> old;
        if (i == 0 && !oldHeader.Lines().empty())
            old = oldHeader.Lines().front();
        else if (i > 0)
            old = FindHeaderKey(oldHeader, KeyOf(newLines[i]));
        const std::string_view oldText = old ? CutLineEnds(old->text) : std::string_view();
        if (old && oldText == newLines[i])
            continue;
        HeaderLineChange change{std::nullopt, AnsiToWide(newLines[i], codePage)};
        if (old)
            change.before = AnsiToWide(oldText, codePage);
        changes.push_back(std::move(change));
    }
    return changes;
}
