#include "cli/SetCommand.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "campaign/BatchNames.h"
#include "campaign/CampaignMatch.h"
#include "campaign/Findings.h"
#include "campaign/Journal.h"
#include "campaign/SaveFiles.h"
#include "cli/CampaignFile.h"
#include "cli/CodePageHint.h"
#include "cli/FindingText.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "cli/SaveProblemText.h"
#include "header/HeaderReader.h"
#include "header/HeaderText.h"
#include "header/RawFileRewrite.h"
#include "header/SavePlan.h"
#include "platform/CodePage.h"
#include "platform/DirectorySeparator.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"

namespace {

// Files saved between two flushes of the journal.
constexpr size_t kGroupSize = 64;

enum class Status { Changed, Renamed, Unchanged, Failed };

constexpr std::array<std::string_view, 4> kStatusNames = {"changed", "renamed", "unchanged",
                                                          "failed"};

bool Writes(Status status) {
    return status == Status::Changed || status == Status::Renamed;
}

struct FieldChange {
    std::string_view field;
    std::wstring before;
    std::wstring after;
};

// What happened, or would happen, to one file.
struct FileOutcome {
    Status status = Status::Unchanged;
    // The path the file gets; empty while it keeps its own.
    std::wstring newPath;
    bool replacing = false;
    std::vector<FieldChange> changes;
    std::string error;
    // Why a file is left alone, when that needs saying.
    std::string notice;
    // Under --dry-run, the header lines that would change.
    std::string preview;
    // What check would find in the values written.
    std::vector<Finding> warnings;
};

FileOutcome Failure(std::string error) {
    FileOutcome outcome;
    outcome.status = Status::Failed;
    outcome.error = std::move(error);
    return outcome;
}

std::vector<FieldChange> ChangesBetween(const StationHeader& before, const StationHeader& after,
                                        unsigned codePage) {
    std::vector<FieldChange> changes;
    for (const RecordField& field : RecordFields()) {
        std::wstring old = field.print(before, codePage);
        std::wstring now = field.print(after, codePage);
        if (old != now)
            changes.push_back({field.name, std::move(old), std::move(now)});
    }
    return changes;
}

std::vector<std::string_view> CrLfLinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t end; (end = text.find("\r\n")) != std::string_view::npos;
         text.remove_prefix(end + 2))
        lines.push_back(text.substr(0, end));
    return lines;
}

// The key of a written header line: its text up to the colon ("ver" for the version line).
std::string_view KeyOf(std::string_view line) {
    if (line.substr(0, 4) == "ver ")
        return "ver";
    const size_t colon = line.find(':');
    return colon == std::string_view::npos ? line : line.substr(0, colon + 1);
}

// Each line of the new header next to the line the file holds for the same key.
std::string ChangedLines(const std::string& fileStart, const std::string& newHeader,
                         unsigned codePage) {
    const HeaderText oldHeader(fileStart);
    const std::vector<std::string_view> newLines = CrLfLinesOf(newHeader);
    std::string lines;
    for (size_t i = 0; i < newLines.size(); ++i) {
        std::optional<HeaderLine> old;
        if (i == 0 && !oldHeader.Lines().empty())
            old = oldHeader.Lines().front();
        else if (i > 0)
            old = FindHeaderKey(oldHeader, KeyOf(newLines[i]));
        const std::string_view oldText = old ? CutLineEnds(old->text) : std::string_view();
        if (old && oldText == newLines[i])
            continue;
        lines += "  - " + (old ? ToUtf8(AnsiToWide(oldText, codePage)) : "(no such line)") +
                 "\n  + " + ToUtf8(AnsiToWide(newLines[i], codePage)) + "\n";
    }
    return lines;
}

// Whether the file's header region already holds what a save would write there.
bool HoldsHeader(const FileSnapshot& read, const SavePlan& plan) {
    return read.headerRegion == HeaderForRegion(plan.headerText, read.headerRegion.size());
}

std::vector<std::string_view> FieldsOf(const FieldValues& values) {
    std::vector<std::string_view> fields;
    for (const FieldValue& value : values)
        fields.push_back(value.field->name);
    return fields;
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

std::string JsonOutcome(const std::wstring& file, const FileOutcome& outcome, bool dryRun,
                        Language language) {
    std::string json =
        "{\"file\": " + JsonString(file) + ", \"status\": \"" +
        std::string(kStatusNames[static_cast<size_t>(outcome.status)]) +
        "\", \"newFile\": " + (outcome.newPath.empty() ? "null" : JsonString(outcome.newPath)) +
        ", \"changes\": [";
    for (size_t i = 0; i < outcome.changes.size(); ++i) {
        const FieldChange& change = outcome.changes[i];
        json += (i == 0 ? "{\"field\": \"" : ", {\"field\": \"") + std::string(change.field) +
                "\", \"old\": " + JsonString(change.before) +
                ", \"new\": " + JsonString(change.after) + "}";
    }
    json += "], \"error\": " + (outcome.error.empty() ? "null" : JsonString(outcome.error)) +
            ", \"warnings\": " + JsonWarnings(outcome.warnings, language);
    return json + (dryRun ? ", \"dryRun\": true}\n" : "}\n");
}

// What the write left on disk, in the terms the report uses.
FileOutcome AfterRewrite(const std::wstring& file, const RewriteOutcome& written,
                         FileOutcome planned) {
    const std::string why = FirstLineOf(written.error);
    FileOutcome failed;
    switch (written.onDisk) {
        case OnDisk::Unchanged:
            return Failure(written.refusal != RewriteRefusal::None
                               ? RefusalReason(written.refusal, written.error, Language::English)
                               : why + "; nothing written");
        case OnDisk::Saved:
            if (!written.error.empty())
                planned.error = "written, but " + why;
            return planned;
        case OnDisk::WrittenNotRenamed:
            failed = Failure("header written, not renamed: " +
                             (written.refusal != RewriteRefusal::None
                                  ? RefusalReason(written.refusal, written.error, Language::English)
                                  : why));
            break;
        case OnDisk::SavedOldKept:
            failed = Failure(
                "another program wrote to it or moved it while it was saved; the old file is "
                "kept, check it against the new one");
            break;
        case OnDisk::Torn:
            failed =
                Failure("the write stopped half-way and the old header could not be put back (" +
                        why + "); tzrhdr undo puts it back");
            break;
    }
    if (written.path != file)
        failed.newPath = written.path;
    return failed;
}

// The values to take into one file, and the campaign row they come from (-1 for none).
struct FileEdits {
    FieldValues values;
    int row = -1;
};

class SetRun {
  public:
    SetRun(const SetRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err)
        : request_(request), catalogue_(catalogue), out_(out), err_(err), hint_(request.codePage) {
        readOptions_.codePage = request.codePage;
    }

    int Run() {
        if (request_.campaignPath)
            LoadCampaign(*request_.campaignPath);
        std::vector<FileOutcome> outcomes = PlanBatch();
        if (!OpenJournal(outcomes))
            return 1;
        std::array<size_t, 4> tally{};
        bool warned = false;
        for (size_t start = 0; start < request_.files.size(); start += kGroupSize) {
            const size_t end = std::min(request_.files.size(), start + kGroupSize);
            SaveGroup(start, end, outcomes);
            for (size_t i = start; i < end; ++i) {
                Report(request_.files[i], outcomes[i]);
                ++tally[static_cast<size_t>(outcomes[i].status)];
                warned = warned || !outcomes[i].error.empty();
            }
        }
        ClearProgress();
        const bool rowsMatched = ReportRows();
        const size_t count = request_.files.size();
        (request_.json ? err_ : out_)
            << count << (count == 1 ? " file" : " files")
            << (request_.dryRun ? " (dry run, nothing written)" : "") << ": " << tally[0]
            << " changed, " << tally[1] << " renamed, " << tally[2] << " unchanged, " << tally[3]
            << " failed\n";
        return warned || journalIncomplete_ || !rowsMatched ? 1 : 0;
    }

  private:
    void LoadCampaign(const std::wstring& path) {
        campaign_.emplace(
            LoadCampaignFile(path, request_.campaignCodePage, request_.codePage, err_));
    }

    // Opens the journal when the batch is about to write; false, having said why, when it
    // cannot be written, so that no file is.
    bool OpenJournal(const std::vector<FileOutcome>& outcomes) {
        if (!request_.journal || request_.dryRun ||
            std::none_of(outcomes.begin(), outcomes.end(),
                         [](const FileOutcome& outcome) { return Writes(outcome.status); }))
            return true;
        FileStatus status;
        if (request_.journal->path.empty())
            status = FileStatus::Failure(L"the system names no folder for it");
        else
            journal_ = JournalWriter::Open(*request_.fileSystem, request_.journal->path,
                                           request_.journal->batch, status);
        if (journal_)
            return true;
        err_ << "tzrhdr: cannot write the journal: " << JournalProblemText(status.error)
             << "; no file was written (--journal PATH names another, --no-journal writes none)\n";
        return false;
    }

    // Plans every file, then refuses the saves whose new names clash, before anything is
    // written.
    std::vector<FileOutcome> PlanBatch() {
        std::vector<FileOutcome> plans;
        std::vector<BatchFile> names;
        for (const std::wstring& file : request_.files) {
            plans.push_back(EditFile(file, nullptr));
            names.push_back({file, plans.back().newPath.empty() ? file : plans.back().newPath});
        }
        const std::vector<std::string> clashes = NameClashes(names);
        for (size_t i = 0; i < plans.size(); ++i) {
            if (!clashes[i].empty() && Writes(plans[i].status))
                plans[i] = Failure(clashes[i]);
        }
        return plans;
    }

    // The field options, then the cells of the file's campaign row that differ from what the
    // file holds. Nothing when the campaign has no row for the file.
    std::optional<FileEdits> EditsFor(const std::wstring& file, const StationHeader& header) {
        FileEdits edits{request_.edits, -1};
        if (!campaign_)
            return edits;
        edits.row = campaign_->MatchFile(file, header.stationName);
        if (edits.row < 0)
            return std::nullopt;
        for (FieldValue& cell :
             campaign_->ChangingCells(edits.row, header, catalogue_, request_.codePage))
            edits.values.push_back(std::move(cell));
        return edits;
    }

    // A row is for a file that exists even when the file cannot be read; only a row keyed by
    // the current station cannot be told then.
    void MatchRowOfUnreadFile(const std::wstring& file) {
        if (campaign_)
            campaign_->MatchUnreadFile(file);
    }

    // Reads one file, takes its edits and plans its save. Given the plan that the batch checked,
    // it then writes the file (under --dry-run, describes the write), provided that reading the
    // file again plans the same save.
    FileOutcome EditFile(const std::wstring& file, const FileOutcome* checked,
                         std::optional<FileSave>* save = nullptr) {
        StationHeader header;
        const std::vector<ReaderMessage> messages =
            ReadStationHeader(file, catalogue_, header, readOptions_).Messages();
        const std::string problem = ReadProblem(file, header, messages);
        if (!problem.empty()) {
            MatchRowOfUnreadFile(file);
            return Failure(problem);
        }
        hint_.Check(header, err_);
        const std::optional<FileEdits> edits = EditsFor(file, header);
        FileOutcome outcome;
        if (!edits)
            outcome.notice = "no row in the campaign table; left as it is";
        if (!edits || edits->values.empty())
            return outcome;

        const StationHeader read = header;
        if (std::optional<std::string> error = TakeEdits(*edits, header))
            return Failure(*error);
        const SavePlan plan = PlanSave(header, header.measureTo, request_.codePage, OemCodePage());
        plan.RoundHeightIn(header);
        if (plan.refusal)
            return Failure(ValueProblemText(*plan.refusal, Language::English));
        if (plan.headerTooLong)
            return Failure("the header would be longer than 4095 bytes");
        const bool renaming = plan.newPath != file;
        if (!renaming && HoldsHeader(header.snapshot, plan))
            return outcome;

        FileSystem& files = *request_.fileSystem;
        outcome.status = renaming ? Status::Renamed : Status::Changed;
        outcome.newPath = renaming ? plan.newPath : std::wstring();
        outcome.changes = ChangesBetween(read, header, request_.codePage);
        outcome.warnings = WrittenFieldFindings(file, header, catalogue_, FieldsOf(edits->values));
        if (checked == nullptr)
            return outcome;
        if (outcome.status != checked->status || outcome.newPath != checked->newPath)
            return Failure("the file changed while the batch was planned; left as it is");
        outcome.replacing = NewPathNamesAnotherFile(files, file, plan.newPath);
        if (outcome.replacing && !request_.replace)
            return Failure(ToUtf8(plan.newPath) + " exists already; --replace replaces it");
        if (request_.dryRun) {
            outcome.preview =
                ChangedLines(header.snapshot.headerRegion, plan.headerText, request_.codePage);
            return outcome;
        }
        if (!journal_ && !journalError_.empty())
            return Failure("not written, as the journal cannot be written: " + journalError_);
        *save = FileSave{{file, plan.newPath, plan.headerText, header.snapshot, outcome.replacing}};
        return outcome;
    }

    // Prepares the files of one group, then saves them together: one flush of the journal before
    // their writes and one after.
    void SaveGroup(size_t start, size_t end, std::vector<FileOutcome>& outcomes) {
        std::vector<FileSave> saves;
        std::vector<size_t> saved;
        for (size_t i = start; i < end; ++i) {
            ShowProgress(i);
            if (!Writes(outcomes[i].status))
                continue;
            std::optional<FileSave> save;
            outcomes[i] = EditFile(request_.files[i], &outcomes[i], &save);
            if (save) {
                save->number = ++journalled_;
                saves.push_back(std::move(*save));
                saved.push_back(i);
            }
        }
        if (saves.empty())
            return;
        const SavedGroup group = SaveFiles(*request_.fileSystem, saves, journal_.get());
        if (!group.journalBefore)
            StopJournal(group.journalBefore);
        if (!group.journalAfter) {
            journalIncomplete_ = true;
            err_ << "tzrhdr: the journal did not take what the last writes left on disk: "
                 << JournalProblemText(group.journalAfter.error)
                 << "; tzrhdr undo still finds the files by their content\n";
        }
        for (size_t k = 0; k < saves.size(); ++k) {
            const size_t i = saved[k];
            outcomes[i] =
                !group.journalBefore
                    ? Failure("not written, as the journal cannot be written: " + journalError_)
                    : AfterRewrite(request_.files[i], group.outcomes[k], std::move(outcomes[i]));
        }
    }

    void StopJournal(const FileStatus& status) {
        journalError_ = JournalProblemText(status.error);
        journal_.reset();
    }

    // Takes the edits into a record just read as the editor would; why not when it cannot.
    std::optional<std::string> TakeEdits(const FileEdits& edits, StationHeader& header) const {
        if (!HoldAsEditor(header, catalogue_))
            return "the antenna catalogue is empty, so no antenna type can be written";
        const std::optional<FieldValueProblem> problem =
            TakeFieldValues(header, edits.values, catalogue_);
        if (!problem)
            return std::nullopt;
        const std::string error = FieldProblemText(*problem, Language::English);
        return edits.row >= 0 ? campaign_->Table().Describe(edits.row) + ": " + error : error;
    }

    void Report(const std::wstring& file, const FileOutcome& outcome) {
        ClearProgress();
        const std::string name = ToUtf8(file);
        if (!outcome.notice.empty())
            err_ << "tzrhdr: " << name << ": " << outcome.notice << "\n";
        if (!outcome.error.empty())
            err_ << "tzrhdr: " << name << ": " << outcome.error
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
            out_ << JsonOutcome(file, outcome, request_.dryRun, request_.language);
            return;
        }
        if (outcome.status == Status::Failed)
            return;
        if (!request_.dryRun || !Writes(outcome.status)) {
            out_ << name << ": "
                 << (outcome.newPath.empty() ? kStatusNames[static_cast<size_t>(outcome.status)]
                                             : "renamed to " + ToUtf8(outcome.newPath))
                 << "\n";
            return;
        }
        out_ << name << "\n" << outcome.preview;
        if (!outcome.newPath.empty())
            out_ << "  rename to " << ToUtf8(outcome.newPath)
                 << (outcome.replacing ? " (replacing it)" : "") << "\n";
    }

    // Reports the rows that match no file and the cells a spreadsheet damaged; false when no
    // row matches any file, so that a table meant for other files never passes for done.
    bool ReportRows() {
        if (!campaign_)
            return true;
        const std::string table = ToUtf8(*request_.campaignPath);
        // Written in blocks: standard error is unbuffered, and a table may have a million rows.
        std::string lines;
        for (const int row : campaign_->UnmatchedRows()) {
            lines += "tzrhdr: " + table + ": " + campaign_->Table().Describe(row) +
                     " matches no file that was read\n";
            if (lines.size() >= kFileBlockSize) {
                err_ << lines;
                lines.clear();
            }
        }
        err_ << lines;
        ReportSpreadsheetDamage(*request_.campaignPath, *campaign_, err_);
        if (!campaign_->AnyRowMatched())
            err_ << "tzrhdr: " << table << ": no row matches any of the files\n";
        return campaign_->AnyRowMatched();
    }

    void ShowProgress(size_t index) {
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

    void ClearProgress() {
        if (progressWidth_ > 0)
            err_ << "\r" << std::string(progressWidth_, ' ') << "\r" << std::flush;
        progressWidth_ = 0;
    }

    const SetRequest& request_;
    const AntennaCatalogue& catalogue_;
    std::ostream& out_;
    std::ostream& err_;
    HeaderReadOptions readOptions_;
    CodePageHint hint_;
    std::optional<CampaignMatch> campaign_;
    size_t progressWidth_ = 0;
    std::unique_ptr<JournalWriter> journal_;
    int journalled_ = 0;
    // Why the journal stopped taking lines; the batch stops writing with it.
    std::string journalError_;
    // The journal lacks what some writes left on disk.
    bool journalIncomplete_ = false;
};

}  // namespace

int RunSet(const SetRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err) {
    return SetRun(request, catalogue, out, err).Run();
}
