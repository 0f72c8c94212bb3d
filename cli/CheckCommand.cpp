#include "cli/CheckCommand.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "campaign/FileReadFailure.h"
#include "campaign/Findings.h"
#include "cli/CampaignFile.h"
#include "cli/CodePageHint.h"
#include "cli/FindingText.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "header/HeaderReader.h"

namespace {

std::string JsonFinding(const Finding& finding, const std::string& message) {
    return "{\"file\": " + JsonString(finding.file) + ", \"code\": \"" +
           std::string(FindingCodeName(finding.code)) +
           "\", \"field\": " + (finding.field.empty() ? "null" : JsonString(finding.field)) +
           ", \"message\": " + JsonString(message) + "}\n";
}

// The files in the order given, each file's findings by code; the field log's rows last. Only
// the files that have findings are looked up, so that a clean campaign costs nothing here.
void SortByFile(std::vector<Finding>& findings, const FileList& files) {
    if (findings.empty())
        return;
    std::map<std::wstring, size_t> position;
    for (const Finding& finding : findings)
        position.emplace(finding.file, files.size());
    std::wstring path;
    for (size_t i = 0; i < files.size(); ++i) {
        files.PathInto(i, path);
        const auto found = position.find(path);
        if (found != position.end())
            found->second = std::min(found->second, i);
    }
    const auto rank = [&](const Finding& finding) {
        return std::make_pair(position.at(finding.file), finding.code);
    };
    std::stable_sort(findings.begin(), findings.end(),
                     [&](const Finding& a, const Finding& b) { return rank(a) < rank(b); });
}

}  // namespace

int RunCheck(const CheckRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
             std::ostream& err) {
    std::optional<CampaignMatch> log;
    if (request.campaignPath)
        log.emplace(LoadCampaignFile(*request.campaignPath, request.campaignCodePage,
                                     request.codePage, request.language, err));
    HeaderReadOptions options;
    options.codePage = request.codePage;
    options.forSave = false;
    CodePageHint hint(request.codePage, request.language);
    // Each file is judged as it is read and only what the campaign's findings need is kept of
    // it, so that memory does not grow with the headers of a large campaign.
    CampaignFindings together(request.files.size());
    std::vector<Finding> findings;
    const auto add = [&](std::vector<Finding> more) {
        findings.insert(findings.end(), std::make_move_iterator(more.begin()),
                        std::make_move_iterator(more.end()));
    };
    std::wstring path;
    for (size_t i = 0; i < request.files.size(); ++i) {
        request.files.PathInto(i, path);
        const CheckedFile file = ReadCheckedFile(SystemFileSystem(), path, catalogue, options);
        if (file.Readable())
            hint.Check(file.header, err);
        add(FileFindings(file, catalogue));
        if (log)
            add(LogFindings(file, *log, catalogue, request.codePage));
        together.Add(i, file);
    }
    add(together.Findings(request.files));
    if (log)
        ReportSpreadsheetDamage(*request.campaignPath, *log, request.language, err);
    SortByFile(findings, request.files);

    std::map<std::wstring, bool> filesWithFindings;
    size_t findingCount = 0;
    const auto print = [&](const Finding& finding) {
        ++findingCount;
        filesWithFindings[finding.file] = true;
        const std::string message =
            FindingMessage(finding, log ? &log->Table() : nullptr, request.language);
        if (request.json)
            out << JsonFinding(finding, message);
        else
            out << ToUtf8(finding.file) << ": " << FindingCodeName(finding.code) << ": " << message
                << "\n";
    };
    for (const Finding& finding : findings)
        print(finding);
    // The rows without a file come last, one at a time: a field log may have a million.
    if (log) {
        for (const int row : log->UnmatchedRows())
            print(UnmatchedRowFinding(row, *request.campaignPath));
    }
    const ToolTexts& texts = TextsIn(request.language);
    err << Fill(texts.checkSummary, {CountOf(request.files.size(), texts.oneFile, texts.files),
                                     CountOf(findingCount, texts.oneFinding, texts.findings)});
    if (findingCount > 0)
        err << Fill(texts.findingsInFiles,
                    {CountOf(filesWithFindings.size(), texts.oneFile, texts.files)});
    err << "\n";
    return findingCount == 0 ? 0 : 1;
}
