#include "cli/SetCommand.h"

#include <string_view>

#include "cli/Campaign.h"
#include "cli/CollectingOwner.h"
#include "cli/Json.h"
#include "header/HeaderReader.h"
#include "header/HeaderText.h"
#include "header/RawFileRewrite.h"
#include "header/SavePlan.h"
#include "header/ValueCheck.h"
#include "platform/CodePage.h"
#include "platform/DirectorySeparator.h"
#include "platform/FileSystem.h"

namespace {

enum class Result { Changed, Renamed, Unchanged, Failed };

struct Tally {
    int changed = 0;
    int renamed = 0;
    int unchanged = 0;
    int failed = 0;

    void Add(Result result) {
        switch (result) {
            case Result::Changed:
                ++changed;
                break;
            case Result::Renamed:
                ++renamed;
                break;
            case Result::Unchanged:
                ++unchanged;
                break;
            case Result::Failed:
                ++failed;
                break;
        }
    }
};

std::wstring FileNameOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(kDirectorySeparator);
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
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

// Prints each line of the new header next to the line the file holds for the same key.
void PrintChangedLines(const std::string& fileStart, const std::string& newHeader,
                       unsigned codePage, std::ostream& out) {
    const HeaderText oldHeader(fileStart);
    const std::vector<std::string_view> newLines = CrLfLinesOf(newHeader);
    for (size_t i = 0; i < newLines.size(); ++i) {
        std::optional<HeaderLine> old;
        if (i == 0 && !oldHeader.Lines().empty())
            old = oldHeader.Lines().front();
        else if (i > 0)
            old = FindHeaderKey(oldHeader, KeyOf(newLines[i]));
        const std::string_view oldText = old ? CutLineEnds(old->text) : std::string_view();
        if (old && oldText == newLines[i])
            continue;
        out << "  - " << (old ? ToUtf8(AnsiToWide(oldText, codePage)) : "(no such line)") << "\n"
            << "  + " << ToUtf8(AnsiToWide(newLines[i], codePage)) << "\n";
    }
}

std::string ValueProblemText(const ValueProblem& problem) {
    const std::string field = "--" + std::string(problem.field);
    switch (problem.fault) {
        case ValueFault::ControlCharacter:
            return field + " holds a control character, which would break the header";
        case ValueFault::NotAFileName:
            return field + " \"" + ToUtf8(problem.characters) +
                   "\" cannot be a Windows file name (no \\ / : * ? \" < > |, not . or .., no "
                   "trailing dot or space, no device name such as CON or NUL)";
        case ValueFault::NotInCodePage:
            return field + " holds characters the header's code page cannot hold: \"" +
                   ToUtf8(problem.characters) + "\" (try --codepage)";
    }
    return field;
}

std::string RefusalText(RewriteRefusal refusal, const std::wstring& error) {
    switch (refusal) {
        case RewriteRefusal::InUse:
            return "another program is using it; nothing written";
        case RewriteRefusal::Link:
            return "it is a symbolic link; nothing written (name the file it points to)";
        case RewriteRefusal::ReadOnly:
            return "it is read-only; nothing written";
        case RewriteRefusal::HardLinked:
            return "it has other hard links, which would keep the old header; nothing written";
        case RewriteRefusal::ChangedSinceRead:
            return "another program changed it while it was being saved; nothing written";
        case RewriteRefusal::TargetExists:
            return "the new name exists already; nothing written";
        default:
            return "cannot open it: " + ToUtf8(error);
    }
}

class SetRun {
  public:
    SetRun(const SetRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err)
        : request_(request),
          catalogue_(catalogue),
          out_(out),
          err_(err),
          codePage_(request.codePage != 0 ? request.codePage : AnsiCodePage()) {}

    int Run() {
        if (request_.campaignPath && !LoadCampaign())
            return 1;
        for (size_t i = 0; i < request_.files.size(); ++i) {
            ShowProgress(i);
            tally_.Add(EditFile(request_.files[i]));
        }
        ClearProgress();
        if (campaign_) {
            for (const std::string& row : campaign_->UnmatchedRows())
                err_ << "campaign " << row << ": no such file\n";
        }
        out_ << request_.files.size() << (request_.files.size() == 1 ? " file" : " files")
             << (request_.dryRun ? " (dry run, nothing written)" : "") << ": " << tally_.changed
             << " changed, " << tally_.renamed << " renamed, " << tally_.unchanged << " unchanged, "
             << tally_.failed << " failed\n";
        return tally_.failed > 0 ? 1 : 0;
    }

  private:
    bool LoadCampaign() {
        const std::optional<std::string> text = ReadFileBytes(*request_.campaignPath);
        std::string error = "cannot read it";
        if (text)
            campaign_ = Campaign::Parse(*text, error);
        if (!campaign_)
            err_ << "tzrhdr: campaign table " << ToUtf8(*request_.campaignPath) << ": " << error
                 << "\n";
        return campaign_.has_value();
    }

    void Report(const std::wstring& file, const std::string& what) {
        ClearProgress();
        err_ << ToUtf8(file) << ": " << what << "\n";
    }

    Result Fail(const std::wstring& file, const std::string& why) {
        Report(file, why);
        return Result::Failed;
    }

    Result EditFile(const std::wstring& file) {
        StationHeader header;
        CollectingOwner reader;
        HeaderReadOptions options;
        options.codePage = codePage_;
        ReadStationHeader(file, catalogue_, header, reader, options);
        if (!header.headerLoaded) {
            std::string messages;
            for (const std::wstring& message : reader.messages)
                messages += (messages.empty() ? "" : "; ") + ToUtf8(message);
            return Fail(file, messages);
        }

        FieldEdits edits = request_.edits;
        if (campaign_) {
            const int row = campaign_->FindRow(FileNameOf(file), header.stationName);
            if (row < 0) {
                Report(file, "no row in the campaign table, left as it is");
                return Result::Unchanged;
            }
            std::string error;
            if (!campaign_->ApplyRow(row, catalogue_, edits, error))
                return Fail(file, error);
        }
        const std::optional<int> measureTo = ApplyEdits(edits, catalogue_, header);
        if (!measureTo)
            return Fail(file, "the antenna catalogue is empty, so no antenna type can be written");
        const SavePlan plan = PlanSave(header, *measureTo, codePage_, OemCodePage());
        if (plan.refusal)
            return Fail(file, ValueProblemText(*plan.refusal));
        if (plan.headerTooLong)
            return Fail(file, "the header would be longer than 4095 bytes");
        return Write(file, header, plan);
    }

    Result Write(const std::wstring& file, const StationHeader& header, const SavePlan& plan) {
        FileSystem& files = SystemFileSystem();
        const bool renaming = plan.newPath != file;
        const std::string fileStart = ReadFileBytes(file, HeaderText::kMaxLength).value_or("");
        const bool sameHeader =
            header.snapshot.headerRegion ==
            HeaderForRegion(plan.headerText, header.snapshot.headerRegion.size());
        if (sameHeader && !renaming)
            return Result::Unchanged;
        const bool replacing = NewPathNamesAnotherFile(files, file, plan.newPath);
        if (replacing && !request_.replace)
            return Fail(file, ToUtf8(plan.newPath) + " exists already; --replace replaces it");

        ClearProgress();
        if (request_.dryRun) {
            out_ << ToUtf8(file) << "\n";
            PrintChangedLines(fileStart, plan.headerText, codePage_, out_);
            if (renaming)
                out_ << "  rename to " << ToUtf8(plan.newPath)
                     << (replacing ? " (replacing it)" : "") << "\n";
            return renaming ? Result::Renamed : Result::Changed;
        }
        const RewriteOutcome outcome = RewriteRawFile(
            files, {file, plan.newPath, plan.headerText, header.snapshot, replacing});
        if (outcome.refusal != RewriteRefusal::None)
            return Fail(file, RefusalText(outcome.refusal, outcome.error));
        if (!outcome.error.empty())
            return Fail(file,
                        ToUtf8(outcome.error) + " (the file is now " + ToUtf8(outcome.path) + ")");
        if (outcome.path == file) {
            out_ << ToUtf8(file) << ": changed\n";
            return Result::Changed;
        }
        out_ << ToUtf8(file) << ": renamed to " << ToUtf8(outcome.path) << "\n";
        return Result::Renamed;
    }

    void ShowProgress(size_t index) {
        if (!request_.showProgress || request_.files.size() < 2)
            return;
        std::string line = "[";
        line += std::to_string(index + 1);
        line += "/";
        line += std::to_string(request_.files.size());
        line += "] ";
        line += ToUtf8(FileNameOf(request_.files[index]));
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
    unsigned codePage_;
    std::optional<Campaign> campaign_;
    Tally tally_;
    size_t progressWidth_ = 0;
};

}  // namespace

int RunSet(const SetRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err) {
    return SetRun(request, catalogue, out, err).Run();
}
