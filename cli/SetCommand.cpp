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

constexpr std::array<std::string_view, 4> kStatusNames = {"changed", "renamed", "unchanged",
                                                          "failed"};

std::string_view StatusName(SetStatus status) {
    return kStatusNames[static_cast<size_t>(status)];
}

std::string RewriteReason(const RewriteOutcome& written) {
    return written.refusal != RewriteRefusal::None
               ? RefusalReason(written.refusal, written.error, Language::English)
               : FirstLineOf(written.error);
}

// What the write left on disk, in the terms the report uses.
std::string RewriteProblemText(const RewriteOutcome& written) {
    const std::string why = FirstLineOf(written.error);
    switch (written.onDisk) {
        case OnDisk::Unchanged:
            return written.refusal != RewriteRefusal::None ? RewriteReason(written)
                                                           : why + "; nothing written";
        case OnDisk::Saved:
            return "written, but " + why;
        case OnDisk::WrittenNotRenamed:
            return "header written, not renamed: " + RewriteReason(written);
        case OnDisk::SavedOldKept:
            return "another program wrote to it or moved it while it was saved; the old file is "
                   "kept, check it against the new one";
        case OnDisk::Torn:
            return "the write stopped half-way and the old header could not be put back (" + why +
                   "); tzrhdr undo puts it back";
    }
    return why;
}

// Why a file failed, or what went wrong with its write; empty when nothing did.
std::string ProblemText(const SetFileResult& file, const CampaignMatch* campaign) {
    switch (file.problem) {
        case SetProblem::None:
            return {};
        case SetProblem::Unreadable:
            return ReadFailureText(file.readFailure, Language::English);
        case SetProblem::EmptyCatalogue:
            return "the antenna catalogue is empty, so no antenna type can be written";
        case SetProblem::FieldValue: {
            const std::string error = FieldProblemText(file.fieldProblem, Language::English);
            return file.row >= 0
                       ? TableRowText(campaign->Table(), file.row, Language::English) + ": " + error
                       : error;
        }
        case SetProblem::ValueRefused:
            return ValueProblemText(file.valueProblem, Language::English);
        case SetProblem::HeaderTooLong:
            return "the header would be longer than 4095 bytes";
        case SetProblem::ChangedWhilePlanned:
            return "the file changed while the batch was planned; left as it is";
        case SetProblem::NameClash:
            return file.clash;
        case SetProblem::TargetExists:
            return ToUtf8(file.target) + " exists already; --replace replaces it";
        case SetProblem::JournalStopped:
            return "not written, as the journal cannot be written: " +
                   JournalProblemText(file.journalError);
        case SetProblem::Rewrite:
            return RewriteProblemText(file.written);
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

std::string Preview(const std::vector<HeaderLineChange>& changes) {
    std::string lines;
    for (const HeaderLineChange& change : changes)
        lines += "  - " + (change.before ? ToUtf8(*change.before) : "(no such line)") + "\n  + " +
                 ToUtf8(change.after) + "\n";
    return lines;
}

// Prints each file's result as the batch gives it, with a progress line on a terminal.
class SetReport : public SetBatchListener {
  public:
    SetReport(const SetRequest& request, const CampaignMatch* campaign, std::ostream& out,
              std::ostream& err)
        : request_(request), campaign_(campaign), out_(out), err_(err), hint_(request.codePage) {}

    void Read(const StationHeader& header) override { hint_.Check(header, err_); }

    void Saving(size_t index) override {
        if (!request_.showProgress || request_.files.size() < 2)
            return;
        const std::wstring& file = request_.files[index];
        const std::string line = "[" + std::to_string(index + 1) + "/" +
                                 std::to_string(request_.files.size()) + "] " +
                                 ToUtf8(FileNamePartOf(file));
        const size_t padding = progressWidth_ > line.size() ? progressWidth_ - line.size() : 0;
        err_ << "\r" << line << std::string(padding, ' ') << std::flush;
        progressWidth_ = line.size();
    }

    void JournalIncomplete(const FileStatus& status) override {
        err_ << "tzrhdr: the journal did not take what the last writes left on disk: "
             << JournalProblemText(status.error)
             << "; tzrhdr undo still finds the files by their content\n";
    }

    void Done(size_t index, const SetFileResult& outcome) override {
        ClearProgress();
        const std::string name = ToUtf8(request_.files[index]);
        const std::string error = ProblemText(outcome, campaign_);
        if (outcome.noRow)
            err_ << "tzrhdr: " << name << ": no row in the campaign table; left as it is\n";
        if (!error.empty())
            err_ << "tzrhdr: " << name << ": " << error
                 << (outcome.newPath.empty() ? ""
                                             : " (the file is now " + ToUtf8(outcome.newPath) + ")")
                 << "\n";
        for (const Finding& warning : outcome.warnings)
            err_ << "tzrhdr: " << name << ": "
                 << Fill(TextsIn(request_.language).writtenValueWarning,
                         {FindingCodeName(warning.code),
                          FindingMessage(warning, nullptr, request_.language)})
                 << "\n";
        if (request_.json) {
            out_ << JsonOutcome(request_.files[index], outcome, error, request_.dryRun,
                                request_.language);
            return;
        }
        if (outcome.status == SetStatus::Failed)
            return;
        if (!request_.dryRun || !outcome.Writes()) {
            out_ << name << ": "
                 << (outcome.newPath.empty() ? std::string(StatusName(outcome.status))
                                             : "renamed to " + ToUtf8(outcome.newPath))
                 << "\n";
            return;
        }
        out_ << name << "\n" << Preview(outcome.lineChanges);
        if (!outcome.newPath.empty())
            out_ << "  rename to " << ToUtf8(outcome.newPath)
                 << (outcome.replacing ? " (replacing it)" : "") << "\n";
    }

    void ClearProgress() {
        if (progressWidth_ > 0)
            err_ << "\r" << std::string(progressWidth_, ' ') << "\r" << std::flush;
        progressWidth_ = 0;
    }

  private:
    const SetRequest& request_;
    const CampaignMatch* campaign_;
    std::ostream& out_;
    std::ostream& err_;
    CodePageHint hint_;
    size_t progressWidth_ = 0;
};

// Reports the rows that match no file and the cells a spreadsheet damaged; false when no row
// matches any file, so that a table meant for other files never passes for done.
bool ReportRows(const std::wstring& path, const CampaignMatch& campaign, std::ostream& err) {
    const std::string table = ToUtf8(path);
    // Written in blocks: standard error is unbuffered, and a table may have a million rows.
    std::string lines;
    for (const int row : campaign.UnmatchedRows()) {
        lines += "tzrhdr: " + table + ": " +
                 TableRowText(campaign.Table(), row, Language::English) +
                 " matches no file that was read\n";
        if (lines.size() >= kFileBlockSize) {
            err << lines;
            lines.clear();
        }
    }
    err << lines;
    ReportSpreadsheetDamage(path, campaign, err);
    if (!campaign.AnyRowMatched())
        err << "tzrhdr: " << table << ": no row matches any of the files\n";
    return campaign.AnyRowMatched();
}

std::string JournalRefusalText(const SetBatchResult& result, const std::wstring& journal) {
    switch (result.journalRefusal) {
        case JournalRefusal::NoFolder:
            return "the system names no folder for it";
        case JournalRefusal::NotAJournal:
            return ToUtf8(journal) + " is a file of another kind, not a tzrhdr journal";
        default:
            return JournalProblemText(result.journalError);
    }
}

}  // namespace

int RunSet(const SetRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err) {
    std::optional<CampaignMatch> campaign;
    if (request.campaignPath)
        campaign.emplace(LoadCampaignFile(*request.campaignPath, request.campaignCodePage,
                                          request.codePage, err));
    SetBatchRequest batch{request.files,   request.edits,     campaign ? &*campaign : nullptr,
                          request.replace, request.dryRun,    request.codePage,
                          request.journal, request.fileSystem};
    SetReport report(request, campaign ? &*campaign : nullptr, out, err);
    const SetBatchResult result = RunSetBatch(batch, catalogue, report);
    if (result.journalRefusal != JournalRefusal::None) {
        err << "tzrhdr: cannot write the journal: "
            << JournalRefusalText(result, request.journal ? request.journal->path : std::wstring())
            << "; no file was written (--journal PATH names another, --no-journal writes none)\n";
        return 1;
    }
    report.ClearProgress();
    const bool rowsMatched = !campaign || ReportRows(*request.campaignPath, *campaign, err);
    const size_t count = request.files.size();
    const auto& tally = result.tally;
    (request.json ? err : out) << count << (count == 1 ? " file" : " files")
                               << (request.dryRun ? " (dry run, nothing written)" : "") << ": "
                               << tally[0] << " changed, " << tally[1] << " renamed, " << tally[2]
                               << " unchanged, " << tally[3] << " failed\n";
    return result.Complete() && rowsMatched ? 0 : 1;
}
