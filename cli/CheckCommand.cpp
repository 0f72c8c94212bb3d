#include "cli/CheckCommand.h"

#include <algorithm>
#include <map>

#include "cli/CampaignFile.h"
#include "cli/CodePageHint.h"
#include "campaign/Findings.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "header/HeaderReader.h"

namespace {

CheckedFile ReadForCheck(const std::wstring& path, const AntennaCatalogue& catalogue,
                         const HeaderReadOptions& options) {
    CheckedFile file{path, {}, {}};
    const std::vector<std::wstring> messages =
        ReadStationHeader(path, catalogue, file.header, options).Messages();
    file.problem = ReadProblem(path, file.header, messages);
    return file;
}

std::string JsonFinding(const Finding& finding) {
    return "{\"file\": " + JsonString(finding.file) + ", \"code\": \"" +
           std::string(FindingCodeName(finding.code)) +
           "\", \"field\": " + (finding.field.empty() ? "null" : JsonString(finding.field)) +
           ", \"message\": " + JsonString(finding.message) + "}\n";
}

// The files in the order given, each file's findings by code; the field log's rows last.
void SortByFile(std::vector<Finding>& findings, const std::vector<std::wstring>& files) {
    std::map<std::wstring, size_t> position;
    for (size_t i = files.size(); i-- > 0;)
        position[files[i]] = i;
    const auto rank = [&](const Finding& finding) {
        const auto found = position.find(finding.file);
        return std::make_pair(found == position.end() ? files.size() : found->second, finding.code);
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
                                     request.codePage, err));
    HeaderReadOptions options;
    options.codePage = request.codePage;
    CodePageHint hint(request.codePage);
    std::vector<CheckedFile> files;
    std::vector<Finding> findings;
    for (const std::wstring& path : request.files) {
        files.push_back(ReadForCheck(path, catalogue, options));
        if (files.back().Readable())
            hint.Check(files.back().header, err);
        std::vector<Finding> own = FileFindings(files.back(), catalogue);
        findings.insert(findings.end(), own.begin(), own.end());
    }
    std::vector<Finding> together = CampaignFindings(files);
    findings.insert(findings.end(), together.begin(), together.end());
    if (log) {
        std::vector<Finding> logged = LogFindings(files, *log, catalogue, request.codePage);
        findings.insert(findings.end(), logged.begin(), logged.end());
        ReportSpreadsheetDamage(*request.campaignPath, *log, err);
    }
    SortByFile(findings, request.files);

    std::map<std::wstring, bool> filesWithFindings;
    size_t findingCount = 0;
    const auto print = [&](const Finding& finding) {
        ++findingCount;
        filesWithFindings[finding.file] = true;
        if (request.json)
            out << JsonFinding(finding);
        else
            out << ToUtf8(finding.file) << ": " << FindingCodeName(finding.code) << ": "
                << finding.message << "\n";
    };
    for (const Finding& finding : findings)
        print(finding);
    // The rows without a file come last, one at a time: a field log may have a million.
    if (log) {
        for (const int row : log->UnmatchedRows())
            print(UnmatchedRowFinding(*log, row, *request.campaignPath));
    }
    const size_t count = request.files.size();
    err << count << (count == 1 ? " file" : " files") << " checked: " << findingCount
        << (findingCount == 1 ? " finding" : " findings");
    if (findingCount > 0)
        err << " in " << filesWithFindings.size()
            << (filesWithFindings.size() == 1 ? " file" : " files");
    err << "\n";
    return findingCount == 0 ? 0 : 1;
}
