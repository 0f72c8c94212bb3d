#include "cli/SetCommand.h"

#include <array>
#include <string_view>

#include "campaign/CampaignMatch.h"
#include "campaign/Findings.h"
#include "campaign/SetBatch.h"
#include "cli/CampaignFile.h"
#include "cli/CodePageHint.h"
#include "cli/FindingText.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "cli/SaveProblemText.h"
#include "platform/PathText.h"

namespace {

// The status as JSON gives it, for programs: the same in every language.
constexpr std::array<std::string_view, 4> kStatusNames = {"changed", "renamed", "unchanged",
                                                          "failed"};

std::string_view StatusName(SetStatus status) {
    return kStatusNames[static_cast<size_t>(status)];
}

std::string_view StatusWord(SetStatus status, const ToolTexts& texts) {
    switch (status) {
        case SetStatus::Changed:
            return texts.setChanged;
        case SetStatus::Renamed:
            return texts.setRenamed;
        case SetStatus::Unchanged:
            return texts.setUnchanged;
        case SetStatus::Failed:
            break;
    }
    return texts.setFailed;
}

// What the write left on disk, in the terms the report uses.
std::string RewriteProblemText(const RewriteOutcome& written, Language language) {
    const ToolTexts& texts = TextsIn(language);
    const std::string why = FirstLineOf(written.error);
    switch (written.onDisk) {
        case OnDisk::Unchanged:
            return RewriteReason(written, language) + std::string(texts.nothingWritten);
        case OnDisk::Saved:
            return Fill(texts.writtenBut, {why});
        case OnDisk::WrittenNotRenamed:
            return Fill(texts.writtenNotRenamed, {RewriteReason(written, language)});
        case OnDisk::SavedOldKept:
            return std::string(texts.savedOldKept);
        case OnDisk::Torn:
            return Fill(texts.tornWrite, {why});
    }
    return why;
}

std::string NameClashText(const NameClash& clash, const ToolTexts& texts) {
    switch (clash.kind) {
        case NameClashKind::None:
            return {};
        case NameClashKind::GivenTwice:
            return std::string(texts.givenTwice);
        case NameClashKind::NameOfAnotherFile:
            return Fill(texts.newNameOfAnotherFile, {ToUtf8(clash.newPath)});
        case NameClashKind::SameNewName:
            return Fill(texts.sameNewName, {ToUtf8(clash.newPath), ToUtf8(clash.other)});
    }
    return {};
}

// Why a file failed, or what went wrong with its write; empty when nothing did.
std::string ProblemText(const SetFileResult& file, const CampaignMatch* campaign,
                        Language language) {
    const ToolTexts& texts = TextsIn(language);
    switch (file.problem) {
        case SetProblem::None:
            return {};
        case SetProblem::Unreadable:
            return ReadFailureText(file.readFailure, language);
        case SetProblem::EmptyCatalogue:
            return std::string(texts.emptyCatalogue);
        case SetProblem::FieldValue: {
            const std::string error = FieldProblemText(file.fieldProblem, language);
            return file.row >= 0
                       ? Fill(texts.rowProblem,
                              {TableRowText(campaign->Table(), file.row, language), error})
                       : error;
        }
        case SetProblem::ValueRefused:
            return ValueProblemText(file.valueProblem, language);
        case SetProblem::HeaderTooLong:
            return std::string(texts.headerTooLong);
        case SetProblem::ChangedWhilePlanned:
        case SetProblem::ChangedSinceRead:
            return std::string(texts.changedWhilePlanned);
        case SetProblem::NameClash:
            return NameClashText(file.clash, texts);
        case SetProblem::TargetExists:
            return Fill(texts.targetExistsReplace, {ToUtf8(file.target)});
        case SetProblem::JournalStopped:
            return Fill(texts.journalStopped, {JournalProblemText(file.journalError)});
        case SetProblem::NameNotJournalled:
            return std::string(texts.nameNotJournalled);
        case SetProblem::Rewrite:
            return RewriteProblemText(file.written, language);
    }
    return {};
}

std::string JsonWarnings(const std::vector<Finding>& warnings, Language language) {
    std::string json = "[";
    for (const Finding& warning : warnings)
        json += std::string(json.size() == 1 ? "" : ", ") + "{\"code\": \"" +
                std::string(FindingCodeName(warning.code)) +
                "\", \"field\": " + (warning.field.empty() ? "null" : JsonString(warning.field)) +
                ", \"message\": " + JsonString(FindingMessage(warning, nullptr, language)) + "}";
    return json + "]";
}

std::string JsonOutcome(const std::wstring& file, const SetFileResult& outcome,
                        const std::string& error, bool dryRun, Language language) {
    std::string json = "{\"file\": " + JsonString(file) + ", \"status\": \"" +
                       std::string(StatusName(outcome.status)) + "\", \"newFile\": " +
                       (outcome.newPath.empty() ? "null" : JsonString(outcome.newPath)) +
                       ", \"changes\": [";
    for (size_t i = 0; i < outcome.changes.size(); ++i) {
        const FieldChange& change = outcome.changes[i];
        json += (i == 0 ? "{\"field\": \"" : ", {\"field\": \"") + std::string(change.field) +
                "\", \"old\": " + JsonString(change.before) +
                ", \"new\": " + JsonString(change.after) + "}";
    }
    json += "], \"error\": " + (error.empty() ? "null" : JsonString(error)) +
            ", \"warnings\": " + JsonWarnings(outcome.warnings, language);
    return json + (dryRun ? ", \"dryRun\": true}\n" : "}\n");
}

std::string Preview(const std::vector<HeaderLineChange>& changes, const ToolTexts& texts) {
    std::string lines;
    for (const HeaderLineChange& change : changes)
        lines += "  - " + (change.before ? ToUtf8(*change.before) : std::string(texts.noSuchLine)) +
                 "\n  + " + ToUtf8(change.after) + "\n";
    return lines;
}

// Prints each file's result as the batch gives it, with a progress line on a terminal.
class SetReport : public SetBatchListener {
  public:
    SetReport(const SetRequest& request, const FileList& files, const CampaignMatch* campaign,
              std::ostream& out, std::ostream& err)
        : request_(request),
          files_(files),
          texts_(TextsIn(request.language)),
          campaign_(campaign),
          out_(out),
          err_(err),
          hint_(request.codePage, request.language) {}

    void Read(const StationHeader& header) override { hint_.Check(header, err_); }

    void Saving(size_t index) override {
        if (!request_.showProgress || files_.size() < 2)
            return;
        const std::wstring file = files_[index];
        const std::string line = "[" + std::to_string(index + 1) + "/" +
                                 std::to_string(files_.size()) + "] " +
                                 ToUtf8(FileNamePartOf(file));
        const size_t padding = progressWidth_ > line.size() ? progressWidth_ - line.size() : 0;
        err_ << "\r" << line << std::string(padding, ' ') << std::flush;
        progressWidth_ = line.size();
    }

    void JournalIncomplete(const FileStatus& status) override {
        err_ << "tzrhdr: " << Fill(texts_.journalIncomplete, {JournalProblemText(status.error)})
             << texts_.undoStillFinds << "\n";
    }

    void Done(size_t index, const SetFileResult& outcome) override {
        ClearProgress();
        const std::string name = ToUtf8(files_[index]);
        const std::string error = ProblemText(outcome, campaign_, request_.language);
        if (outcome.noRow)
            err_ << "tzrhdr: " << name << ": " << texts_.noRowInTable << "\n";
        if (!error.empty())
            err_ << "tzrhdr: " << name << ": " << error
                 << (outcome.newPath.empty() ? ""
                                             : Fill(texts_.fileIsNow, {ToUtf8(outcome.newPath)}))
                 << "\n";
        for (const Finding& warning : outcome.warnings)
            err_ << "tzrhdr: " << name << ": "
                 << Fill(texts_.writtenValueWarning,
                         {FindingCodeName(warning.code),
                          FindingMessage(warning, nullptr, request_.language)})
                 << "\n";
        if (request_.json) {
            out_ << JsonOutcome(files_[index], outcome, error, request_.dryRun, request_.language);
            return;
        }
        if (outcome.status == SetStatus::Failed)
            return;
        if (!request_.dryRun || !outcome.Writes()) {
            out_ << name << ": "
                 << (outcome.newPath.empty() ? std::string(StatusWord(outcome.status, texts_))
                                             : Fill(texts_.renamedTo, {ToUtf8(outcome.newPath)}))
                 << "\n";
            return;
        }
        out_ << name << "\n" << Preview(outcome.lineChanges, texts_);
        if (!outcome.newPath.empty())
            out_ << "  " << Fill(texts_.wouldRenameTo, {ToUtf8(outcome.newPath)})
                 << (outcome.replacing ? texts_.replacingIt : "") << "\n";
    }

    void ClearProgress() {
        if (progressWidth_ > 0)
            err_ << "\r" << std::string(progressWidth_, ' ') << "\r" << std::flush;
        progressWidth_ = 0;
    }

  private:
    const SetRequest& request_;
    // The batch's files, by their index.
    const FileList& files_;
    const ToolTexts& texts_;
    const CampaignMatch* campaign_;
    std::ostream& out_;
    std::ostream& err_;
    CodePageHint hint_;
    size_t progressWidth_ = 0;
};

// Reports the rows that match no file and the cells a spreadsheet damaged; false when no row
// matches any file, so that a table meant for other files never passes for done.
bool ReportRows(const std::wstring& path, const CampaignMatch& campaign, Language language,
                std::ostream& err) {
    const ToolTexts& texts = TextsIn(language);
    const std::string table = ToUtf8(path);
    // Written in blocks: standard error is unbuffered, and a table may have a million rows.
    std::string lines;
    for (const int row : campaign.UnmatchedRows()) {
        lines += "tzrhdr: " + table + ": " +
                 Fill(texts.rowMatchesNoFileRead, {TableRowText(campaign.Table(), row, language)}) +
                 "\n";
        if (lines.size() >= kFileBlockSize) {
            err << lines;
            lines.clear();
        }
    }
    err << lines;
    ReportSpreadsheetDamage(path, campaign, language, err);
    if (!campaign.AnyRowMatched())
        err << "tzrhdr: " << table << ": " << texts.noRowMatchesAnyFile << "\n";
    return campaign.AnyRowMatched();
}

std::string JournalRefusalText(const SetBatchResult& result, const std::wstring& journal,
                               const ToolTexts& texts) {
    switch (result.journalRefusal) {
        case JournalRefusal::NoFolder:
            return std::string(texts.noJournalFolder);
        case JournalRefusal::NotAJournal:
            return Fill(texts.notAJournal, {ToUtf8(journal)});
        default:
            return JournalProblemText(result.journalError);
    }
}

}  // namespace

int RunSet(SetRequest request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err) {
    std::optional<CampaignMatch> campaign;
    if (request.campaignPath)
        campaign.emplace(LoadCampaignFile(*request.campaignPath, request.campaignCodePage,
                                          request.codePage, request.language, err));
    // The batch holds the only copy of the file list, which may be long.
    SetBatchRequest batch;
    batch.files = std::move(request.files);
    batch.edits = request.edits;
    batch.campaign = campaign ? &*campaign : nullptr;
    batch.replace = request.replace;
    batch.dryRun = request.dryRun;
    batch.codePage = request.codePage;
    batch.journal = request.journal;
    batch.fileSystem = request.fileSystem;
    SetReport report(request, batch.files, campaign ? &*campaign : nullptr, out, err);
    const SetBatchResult result = RunSetBatch(batch, catalogue, report);
    const ToolTexts& texts = TextsIn(request.language);
    if (result.journalRefusal != JournalRefusal::None) {
        const std::wstring journal = request.journal ? request.journal->path : std::wstring();
        err << "tzrhdr: "
            << Fill(texts.cannotWriteJournal, {JournalRefusalText(result, journal, texts)})
            << texts.journalOptionsHint << "\n";
        return 1;
    }
    report.ClearProgress();
    const bool rowsMatched =
        !campaign || ReportRows(*request.campaignPath, *campaign, request.language, err);
    const auto& tally = result.tally;
    (request.json ? err : out) << Fill(texts.setSummary,
                                       {CountOf(batch.files.size(), texts.oneFile, texts.files),
                                        request.dryRun ? texts.dryRunNote : "",
                                        std::to_string(tally[0]), std::to_string(tally[1]),
                                        std::to_string(tally[2]), std::to_string(tally[3])})
                               << "\n";
    return result.Complete() && rowsMatched ? 0 : 1;
}
