#include "cli/UndoCommand.h"

#include <algorithm>
#include <array>

#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "cli/SaveProblemText.h"
#include "cli/ToolOptions.h"
#include "header/HeaderText.h"
#include "header/RawFileRewrite.h"

namespace {

enum class Status { Restored, Unchanged, ChangedSince, Failed };

constexpr std::array<std::string_view, 4> kStatusNames = {"restored", "unchanged", "changed-since",
                                                          "failed"};

struct FileOutcome {
    Status status = Status::Unchanged;
    // Where the file is now, and the name it gets back; empty when it keeps its name.
    std::wstring file;
    std::wstring newPath;
    std::string error;
};

bool Holds(const std::wstring& path, const std::string& header) {
    const std::optional<FileSnapshot> snapshot =
        TakeSnapshot(SystemFileSystem(), path, header.size());
    return snapshot && snapshot->headerRegion == header;
}

std::string JsonOutcome(const FileOutcome& outcome, bool dryRun) {
    return "{\"file\": " + JsonString(outcome.file) + ", \"status\": \"" +
           std::string(kStatusNames[static_cast<size_t>(outcome.status)]) +
           "\", \"newFile\": " + (outcome.newPath.empty() ? "null" : JsonString(outcome.newPath)) +
           ", \"error\": " + (outcome.error.empty() ? "null" : JsonString(outcome.error)) +
           (dryRun ? ", \"dryRun\": true}\n" : "}\n");
}

std::string JsonBatch(const JournalBatch& batch, bool takenBack) {
    const BatchInfo& info = batch.info;
    return "{\"batch\": " + JsonString(info.id) + ", \"time\": " + JsonString(info.time) +
           ", \"files\": " + std::to_string(batch.files.size()) +
           ", \"command\": " + JsonString(info.command) +
           ", \"undoes\": " + (info.undoes ? JsonString(*info.undoes) : "null") +
           ", \"takenBack\": " + JsonBool(takenBack) + "}\n";
}

// A batch all of whose writes failed changed nothing there is to take back.
bool WroteAnything(const JournalBatch& batch) {
    return std::any_of(batch.files.begin(), batch.files.end(),
                       [](const JournalFile& file) { return file.written != false; });
}

class UndoRun {
  public:
    UndoRun(const UndoRequest& request, std::ostream& out, std::ostream& err)
        : request_(request), out_(out), err_(err) {}

    int Run() {
        if (request_.journal.path.empty())
            throw UsageError{"the system names no folder for the journal; give --journal", false};
        ReadJournal();
        const std::vector<bool> takenBack = TakenBack(journal_.batches);
        if (request_.list) {
            for (size_t i = 0; i < journal_.batches.size(); ++i)
                List(journal_.batches[i], takenBack[i]);
            return 0;
        }
        const JournalBatch* batch = Target(takenBack);
        if (batch == nullptr) {
            err_ << "tzrhdr: " << ToUtf8(request_.journal.path) << ": no batch left to take back\n";
            return 1;
        }
        return TakeBack(*batch);
    }

  private:
    void ReadJournal() {
        const std::wstring& path = request_.journal.path;
        if (!SystemFileSystem().Exists(path))
            return;
        const std::optional<std::string> bytes = ReadFileBytes(path);
        if (!bytes)
            throw UsageError{
                ToUtf8(path) + ": " + UnreadableReason(path).value_or("cannot read it"), false};
        journal_ = ParseJournal(*bytes);
        if (journal_.unreadableLines > 0)
            err_ << "tzrhdr: " << ToUtf8(path) << ": " << journal_.unreadableLines
                 << " lines are not journal lines and were passed over; files they name are "
                    "not taken back\n";
    }

    void List(const JournalBatch& batch, bool takenBack) {
        if (request_.json) {
            out_ << JsonBatch(batch, takenBack);
            return;
        }
        const size_t files = batch.files.size();
        out_ << batch.info.id << "  " << batch.info.time << "  " << files
             << (files == 1 ? " file  " : " files  ") << (takenBack ? "taken back  " : "")
             << batch.info.command << "\n";
    }

    // The batch named, else the newest batch of edits that wrote anything and is not taken back.
    const JournalBatch* Target(const std::vector<bool>& takenBack) const {
        const std::vector<JournalBatch>& batches = journal_.batches;
        for (size_t i = batches.size(); i-- > 0;) {
            if (request_.batch
                    ? batches[i].info.id == *request_.batch
                    : !takenBack[i] && !batches[i].info.undoes && WroteAnything(batches[i]))
                return &batches[i];
        }
        if (request_.batch)
            throw UsageError{"the journal " + ToUtf8(request_.journal.path) + " holds no batch " +
                                 *request_.batch,
                             false};
        return nullptr;
    }

    int TakeBack(const JournalBatch& batch) {
        if (!request_.dryRun) {
            JournalTarget target = request_.journal;
            target.batch.undoes = batch.info.id;
            FileStatus status;
            writer_ = JournalWriter::Open(target.path, target.batch, status);
            if (!writer_) {
                err_ << "tzrhdr: cannot write the journal: " << JournalProblemText(status.error)
                     << "; no file was written\n";
                return 1;
            }
        }
        std::array<size_t, 4> tally{};
        for (auto file = batch.files.rbegin(); file != batch.files.rend(); ++file) {
            const FileOutcome outcome = Restore(*file);
            Report(outcome);
            ++tally[static_cast<size_t>(outcome.status)];
        }
        const size_t count = batch.files.size();
        (request_.json ? err_ : out_)
            << "batch " << batch.info.id << ", " << count << (count == 1 ? " file" : " files")
            << (request_.dryRun ? " (dry run, nothing written)" : "") << ": " << tally[0]
            << " restored, " << tally[1] << " unchanged, " << tally[2] << " changed since, "
            << tally[3] << " failed\n";
        // A damaged journal may have lost files of this batch: that is no complete undo.
        return tally[2] + tally[3] > 0 || journal_.unreadableLines > 0 ? 1 : 0;
    }

    FileOutcome Restore(const JournalFile& file) {
        FileOutcome outcome;
        outcome.file = file.pathAfter.empty() ? file.newPath : file.pathAfter;
        const std::optional<FileSnapshot> snapshot =
            TakeSnapshot(SystemFileSystem(), outcome.file, file.newHeader.size());
        if (!snapshot || snapshot->headerRegion != file.newHeader) {
            outcome.status =
                Holds(file.oldPath, file.oldHeader) ? Status::Unchanged : Status::ChangedSince;
            if (outcome.status == Status::Unchanged)
                outcome.file = file.oldPath;
            else
                outcome.error = "changed since the batch; left alone";
            return outcome;
        }
        if (!ReadsAsAHeader(file.oldHeader))
            return Failed(outcome, "the journal's old header of this file is damaged; left alone");
        outcome.status = Status::Restored;
        if (file.oldPath != outcome.file)
            outcome.newPath = file.oldPath;
        if (request_.dryRun)
            return outcome;
        if (!writer_)
            return Failed(outcome, "not written, as the journal cannot be written");
        const int number = ++journalled_;
        FileStatus status = writer_->Intent({number,
                                             snapshot->identity,
                                             outcome.file,
                                             file.oldPath,
                                             file.newHeader,
                                             file.oldHeader,
                                             {},
                                             {}});
        if (!status) {
            writer_.reset();
            return Failed(outcome, "not written, as the journal cannot be written: " +
                                       JournalProblemText(status.error));
        }
        const RewriteOutcome written = RewriteRawFile(
            SystemFileSystem(),
            {outcome.file, file.oldPath, file.oldHeader, *snapshot, false, /*exactHeader*/ true});
        std::string error;
        if (written.refusal != RewriteRefusal::None)
            error = RefusalReason(written.refusal, written.error, Language::English);
        else if (!written.error.empty())
            error = FirstLineOf(written.error);
        else if (written.oldFileKept)
            error = "another program wrote to it or moved it meanwhile; both files are kept";
        status =
            writer_->Done(number, written.Succeeded(), error, written.path, written.after.identity);
        if (!status)
            err_ << "tzrhdr: the journal cannot be written: " << JournalProblemText(status.error)
                 << "\n";
        return error.empty() ? outcome : Failed(outcome, error);
    }

    // What the batch replaced was a header the reader took; anything else is a damaged line.
    static bool ReadsAsAHeader(const std::string& region) {
        const HeaderText text(region);
        return FindHeaderKey(text, "ver") && FindHeaderKey(text, "ReceiverID:");
    }

    static FileOutcome Failed(FileOutcome outcome, std::string error) {
        outcome.status = Status::Failed;
        outcome.newPath.clear();
        outcome.error = std::move(error);
        return outcome;
    }

    void Report(const FileOutcome& outcome) {
        const std::string name = ToUtf8(outcome.file);
        if (!outcome.error.empty())
            err_ << "tzrhdr: " << name << ": " << outcome.error << "\n";
        if (request_.json) {
            out_ << JsonOutcome(outcome, request_.dryRun);
            return;
        }
        if (!outcome.error.empty())
            return;
        out_ << name << ": "
             << (outcome.status == Status::Unchanged ? "already as before the batch"
                 : request_.dryRun                   ? "would be restored"
                                                     : "restored");
        if (!outcome.newPath.empty())
            out_ << ", renamed back to " << ToUtf8(outcome.newPath);
        out_ << "\n";
    }

    const UndoRequest& request_;
    std::ostream& out_;
    std::ostream& err_;
    Journal journal_;
    std::unique_ptr<JournalWriter> writer_;
    int journalled_ = 0;
};

}  // namespace

int RunUndo(const UndoRequest& request, std::ostream& out, std::ostream& err) {
    return UndoRun(request, out, err).Run();
}
