#include "campaign/Journal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>
#include <random>
#include <unordered_map>

#include "campaign/Base64.h"
#include "platform/AbsolutePath.h"
#include "platform/Utf8.h"

#include <nlohmann/json.hpp>

namespace {

// The journal holds paths as UTF-8, which a lone surrogate does not survive.
bool KeepsSpellingInUtf8(const std::wstring& path) {
    return FromUtf8(ToUtf8(path)) == path;
}

using Json = nlohmann::json;

// A tampered line must not make the reader allocate for billions of files.
constexpr uint64_t kMostFilesInABatch = 1 << 24;
constexpr size_t kUnreadableLinesNamed = 5;
constexpr size_t kJournalLineBlock = 8 * 1024;

constexpr std::array<std::string_view, 8> kOutcomeNames = {
    "written", "not-written", "written-not-renamed", "written-old-kept",
    "torn",    "as-before",   "changed-since",       "missing"};

std::string UtcTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, format, std::gmtime(&now));
    return text;
}

std::string JsonLine(const Json& line) {
    return line.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<JournalOutcome> OutcomeNamed(const std::string& name) {
    for (size_t i = 0; i < kOutcomeNames.size(); ++i) {
        if (kOutcomeNames[i] == name)
            return static_cast<JournalOutcome>(i);
    }
    return std::nullopt;
}

std::optional<uint64_t> UnsignedText(const Json& line, const char* key) {
    const auto member = line.find(key);
    if (member == line.end() || !member->is_string())
        return std::nullopt;
    const std::string& text = member->get_ref<const std::string&>();
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<std::string> Text(const Json& line, const char* key) {
    const auto member = line.find(key);
    if (member == line.end() || !member->is_string())
        return std::nullopt;
    return member->get<std::string>();
}

std::optional<uint64_t> Number(const Json& line, const char* key) {
    const auto member = line.find(key);
    if (member == line.end() || !member->is_number_unsigned())
        return std::nullopt;
    return member->get<uint64_t>();
}

// Where the write of a file left it, as the state its batch keeps.
FileState StateAfter(JournalOutcome outcome) {
    switch (outcome) {
        case JournalOutcome::NotWritten:
        case JournalOutcome::AsBefore:
        case JournalOutcome::ChangedSince:
        case JournalOutcome::Missing:
            return FileState::NotWritten;
        default:
            return FileState::Written;
    }
}

// What an undo's finding for a file means for the file of the batch it takes back. An undo that
// wrote the old header but could not give back the name has not finished with the file.
std::optional<FileState> StateOfUndone(JournalOutcome outcome) {
    switch (outcome) {
        case JournalOutcome::Written:
        case JournalOutcome::AsBefore:
            return FileState::TakenBack;
        case JournalOutcome::ChangedSince:
        case JournalOutcome::Missing:
            return FileState::LeftAlone;
        default:
            return std::nullopt;
    }
}

// Reads a file line by line through one buffer, `block` bytes at a time; each line comes with
// its offset and number.
class LineReader {
  public:
    LineReader(OpenedFile& file, size_t block) : file_(file), block_(block) {}

    // False at the end, or with `status` set when a read fails.
    bool Next(std::string_view& line, uint64_t& offset, FileStatus& status) {
        for (;;) {
            const size_t end = buffer_.find('\n', start_);
            if (end != std::string::npos || (atEnd_ && start_ < buffer_.size())) {
                const size_t stop = end == std::string::npos ? buffer_.size() : end;
                line = std::string_view(buffer_).substr(start_, stop - start_);
                offset = bufferOffset_ + start_;
                start_ = stop + 1;
                return true;
            }
            if (atEnd_)
                return false;
            buffer_.erase(0, start_);
            bufferOffset_ += start_;
            start_ = 0;
            const size_t kept = buffer_.size();
            buffer_.resize(kept + block_);
            size_t got = 0;
            status = file_.Read(buffer_.data() + kept, block_, got);
            buffer_.resize(kept + got);
            if (!status)
                return false;
            atEnd_ = got == 0;
        }
    }

  private:
    OpenedFile& file_;
    const size_t block_;
    std::string buffer_;
    size_t start_ = 0;
    uint64_t bufferOffset_ = 0;
    bool atEnd_ = false;
};

class IndexBuilder {
  public:
    explicit IndexBuilder(JournalIndex& index) : index_(index) {}

    void Take(std::string_view text, size_t lineNumber, uint64_t offset) {
        if (text.find_first_not_of(" \r\t") == std::string_view::npos)
            return;
        const Json line = Json::parse(text, nullptr, false);
        if (!(line.is_object() && TakeLine(line, offset))) {
            if (index_.unreadableLines.size() < kUnreadableLinesNamed)
                index_.unreadableLines.push_back(lineNumber);
            ++index_.unreadableCount;
        }
    }

  private:
    bool TakeLine(const Json& line, uint64_t offset) {
        const std::optional<std::string> entry = Text(line, "entry");
        const std::optional<std::string> batch = Text(line, "batch");
        const std::optional<uint64_t> number = Number(line, "file");
        if (!entry || !batch || batch->empty() || !number || *number == 0 ||
            *number > kMostFilesInABatch)
            return false;
        const size_t file = static_cast<size_t>(*number);
        if (*entry == "intent")
            return TakeIntent(line, *batch, file, offset);
        if (*entry == "done")
            return TakeDone(line, *batch, file);
        return false;
    }

    bool TakeIntent(const Json& line, const std::string& id, size_t file, uint64_t offset) {
        if (!Text(line, "oldHeader") || !Text(line, "newHeader") || !UnsignedText(line, "volume"))
            return false;
        auto [found, added] = batchById_.emplace(id, index_.batches.size());
        if (added) {
            BatchSummary batch;
            batch.info = {id, Text(line, "time").value_or(""), Text(line, "version").value_or(""),
                          Text(line, "command").value_or(""), Text(line, "undoes")};
            index_.batches.push_back(std::move(batch));
        }
        BatchSummary& batch = index_.batches[found->second];
        if (batch.states.size() <= file) {
            batch.states.resize(file + 1, FileState::None);
            batch.intentOffsets.resize(file + 1, 0);
            if (batch.info.undoes)
                batch.restores.resize(file + 1, 0);
        }
        batch.states[file] = FileState::Unknown;
        batch.intentOffsets[file] = offset;
        if (batch.info.undoes)
            batch.restores[file] = static_cast<int>(Number(line, "restores").value_or(0));
        return true;
    }

    bool TakeDone(const Json& line, const std::string& id, size_t file) {
        const auto found = batchById_.find(id);
        if (found == batchById_.end())
            return false;
        BatchSummary& batch = index_.batches[found->second];
        if (file >= batch.states.size() || batch.states[file] == FileState::None)
            return false;
        const std::string name = Text(line, "outcome").value_or("");
        // Journals of earlier versions said "failed" for anything but success: the disk decides.
        if (name == "failed")
            return true;
        const std::optional<JournalOutcome> outcome = OutcomeNamed(name);
        if (!outcome)
            return false;
        batch.states[file] = StateAfter(*outcome);
        if (batch.info.undoes)
            TakeUndoOf(*batch.info.undoes, batch.restores[file], *outcome);
        return true;
    }

    // An undo's file settles the file it takes back; taking back an undo redoes what it undid.
    void TakeUndoOf(const std::string& undoneId, int undoneFile, JournalOutcome outcome) {
        const std::optional<FileState> settled = StateOfUndone(outcome);
        const auto found = batchById_.find(undoneId);
        if (!settled || found == batchById_.end())
            return;
        BatchSummary& undone = index_.batches[found->second];
        const size_t file = static_cast<size_t>(undoneFile);
        if (file == 0 || file >= undone.states.size() || undone.states[file] == FileState::None)
            return;
        undone.states[file] = *settled;
        if (*settled != FileState::TakenBack || !undone.info.undoes)
            return;
        const auto redone = batchById_.find(*undone.info.undoes);
        const size_t redoneFile = static_cast<size_t>(undone.restores[file]);
        if (redone == batchById_.end())
            return;
        BatchSummary& original = index_.batches[redone->second];
        if (redoneFile > 0 && redoneFile < original.states.size() &&
            original.states[redoneFile] != FileState::None)
            original.states[redoneFile] = FileState::Written;
    }

    JournalIndex& index_;
    std::unordered_map<std::string, size_t> batchById_;
};

Json IdentityOf(const FileIdentity& identity) {
    return {{"volume", std::to_string(identity.volume)}, {"index", std::to_string(identity.index)}};
}

}  // namespace

JournalOutcome JournalOutcomeOf(const RewriteOutcome& outcome) {
    switch (outcome.onDisk) {
        case OnDisk::Unchanged:
            return JournalOutcome::NotWritten;
        case OnDisk::Saved:
            return JournalOutcome::Written;
        case OnDisk::WrittenNotRenamed:
            return JournalOutcome::WrittenNotRenamed;
        case OnDisk::SavedOldKept:
            return JournalOutcome::WrittenOldKept;
        case OnDisk::Torn:
            return JournalOutcome::Torn;
    }
    return JournalOutcome::Torn;
}

size_t BatchSummary::FileCount() const {
    return static_cast<size_t>(std::count_if(
        states.begin(), states.end(), [](FileState state) { return state != FileState::None; }));
}

size_t BatchSummary::FilesToTakeBack() const {
    return static_cast<size_t>(std::count_if(states.begin(), states.end(), [](FileState state) {
        return state == FileState::Written || state == FileState::Unknown;
    }));
}

bool BatchSummary::TakenBack() const {
    return FilesToTakeBack() == 0 && std::any_of(states.begin(), states.end(), [](FileState state) {
               return state == FileState::TakenBack || state == FileState::LeftAlone;
           });
}

size_t BatchSummary::FilesLeftAlone() const {
    return static_cast<size_t>(std::count(states.begin(), states.end(), FileState::LeftAlone));
}

std::string NewBatchId() {
    std::random_device random;
    const unsigned suffix = random() & 0xFFFF;
    char hex[8];
    const auto end = std::to_chars(hex, hex + sizeof hex, suffix, 16).ptr;
    return UtcTime("%Y%m%d-%H%M%S-") + std::string(4 - (end - hex), '0') + std::string(hex, end);
}

std::string JournalTime() {
    return UtcTime("%Y-%m-%dT%H:%M:%SZ");
}

FileStatus ReadJournalIndex(OpenedFile& journal, JournalIndex& index) {
    index = {};
    if (FileStatus status = journal.Seek(0); !status)
        return status;
    LineReader reader(journal, kFileBlockSize);
    IndexBuilder builder(index);
    std::string_view line;
    uint64_t offset = 0;
    FileStatus status;
    for (size_t number = 1; reader.Next(line, offset, status); ++number)
        builder.Take(line, number, offset);
    return status;
}

std::optional<JournalFile> ReadJournalFile(OpenedFile& journal, uint64_t offset) {
    if (!journal.Seek(offset))
        return std::nullopt;
    // An undo reads one line for each file of its batch: a block that holds the line of a
    // common header, never the whole journal behind it.
    LineReader reader(journal, kJournalLineBlock);
    std::string_view text;
    uint64_t start = 0;
    FileStatus status;
    if (!reader.Next(text, start, status))
        return std::nullopt;
    const Json line = Json::parse(text, nullptr, false);
    if (!line.is_object())
        return std::nullopt;
    const std::optional<std::string> oldHeader = FromBase64(Text(line, "oldHeader").value_or(""));
    const std::optional<std::string> newHeader = FromBase64(Text(line, "newHeader").value_or(""));
    const std::optional<uint64_t> volume = UnsignedText(line, "volume");
    const std::optional<uint64_t> index = UnsignedText(line, "index");
    const std::optional<uint64_t> number = Number(line, "file");
    if (!oldHeader || !newHeader || !volume || !index || !number)
        return std::nullopt;
    JournalFile file;
    file.number = static_cast<int>(*number);
    file.identity = {*volume, *index};
    file.size = Number(line, "size").value_or(0);
    file.oldPath = FromUtf8(Text(line, "oldPath").value_or(""));
    file.newPath = FromUtf8(Text(line, "newPath").value_or(""));
    file.oldHeader = *oldHeader;
    file.newHeader = *newHeader;
    file.restores = static_cast<int>(Number(line, "restores").value_or(0));
    return file;
}

namespace {

// A line that a full disk cut off must not swallow the first line of the next batch.
FileStatus EndWithLineBreak(OpenedFile& file) {
    FileFacts facts;
    if (FileStatus status = file.Facts(facts); !status)
        return status;
    if (facts.size == 0)
        return FileStatus::Success();
    char last = '\n';
    size_t got = 0;
    if (FileStatus status = file.Seek(facts.size - 1); !status)
        return status;
    if (FileStatus status = file.Read(&last, 1, got); !status)
        return status;
    if (FileStatus status = file.Seek(facts.size); !status)
        return status;
    return got == 1 && last != '\n' ? file.Write("\n") : FileStatus::Success();
}

}  // namespace

bool MayHoldJournal(FileSystem& files, const std::wstring& path) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file = files.Open(path, OpenMode::ReadShared, status);
    if (!file)
        return true;
    FileFacts facts;
    if (file->Facts(facts) && !facts.regularFile)
        return false;
    char first = '{';
    size_t got = 0;
    return !file->Read(&first, 1, got) || got == 0 || first == '{' || first == '\n';
}

bool JournalKeepsName(const std::wstring& path) {
    return KeepsSpellingInUtf8(AbsolutePath(path));
}

bool JournalReaches(FileSystem& files, const std::wstring& path, const FileIdentity& identity) {
    const std::wstring recorded = AbsolutePath(path);
    // A path given whole was just read by that name.
    return KeepsSpellingInUtf8(recorded) &&
           (recorded == path || files.IdentityAt(recorded) == identity);
}

std::unique_ptr<JournalWriter> JournalWriter::Open(FileSystem& files, const std::wstring& path,
                                                   BatchInfo info, FileStatus& status) {
    if (status = CreateFoldersAbove(path); !status)
        return nullptr;
    std::unique_ptr<OpenedFile> file = files.Open(path, OpenMode::Append, status);
    if (!file)
        return nullptr;
    // Appending needs no reading; where the handle cannot read, the last byte is looked at
    // through another.
    FileStatus ended = FileStatus::Success();
    if (std::unique_ptr<OpenedFile> reader = files.Open(path, OpenMode::ReadShared, ended)) {
        FileFacts facts;
        char last = '\n';
        size_t got = 0;
        if (reader->Facts(facts) && facts.size > 0 && reader->Seek(facts.size - 1) &&
            reader->Read(&last, 1, got) && got == 1 && last != '\n')
            ended = file->Write("\n");
    }
    if (status = ended; !status)
        return nullptr;
    OpenedFile& handle = *file;
    return std::unique_ptr<JournalWriter>(
        new JournalWriter(std::move(file), handle, std::move(info)));
}

std::unique_ptr<JournalWriter> JournalWriter::Over(OpenedFile& journal, BatchInfo info,
                                                   FileStatus& status) {
    if (status = EndWithLineBreak(journal); !status)
        return nullptr;
    return std::unique_ptr<JournalWriter>(new JournalWriter(nullptr, journal, std::move(info)));
}

void JournalWriter::Intent(const JournalFile& file) {
    Json line = {{"entry", "intent"},
                 {"batch", info_.id},
                 {"file", file.number},
                 {"time", JournalTime()},
                 {"version", info_.version},
                 {"command", info_.command},
                 {"undoes", info_.undoes ? Json(*info_.undoes) : Json(nullptr)}};
    line.update(IdentityOf(file.identity));
    line["size"] = file.size;
    line["oldPath"] = ToUtf8(AbsolutePath(file.oldPath));
    line["newPath"] = ToUtf8(AbsolutePath(file.newPath));
    line["oldHeader"] = ToBase64(file.oldHeader);
    line["newHeader"] = ToBase64(file.newHeader);
    if (file.restores > 0)
        line["restores"] = file.restores;
    pending_ += JsonLine(line);
}

void JournalWriter::Done(int number, JournalOutcome outcome, const std::wstring& path,
                         const FileIdentity& identity, const std::wstring& error) {
    Json line = {{"entry", "done"},
                 {"batch", info_.id},
                 {"file", number},
                 {"time", JournalTime()},
                 {"outcome", kOutcomeNames[static_cast<size_t>(outcome)]},
                 {"error", error.empty() ? Json(nullptr) : Json(ToUtf8(error))},
                 {"path", ToUtf8(AbsolutePath(path))}};
    line.update(IdentityOf(identity));
    pending_ += JsonLine(line);
}

FileStatus JournalWriter::Commit() {
    if (pending_.empty())
        return FileStatus::Success();
    // A handle that is also read from may stand anywhere; one opened to append writes at the end.
    FileFacts facts;
    FileStatus status = owned_ ? FileStatus::Success() : file_.Facts(facts);
    if (status && !owned_)
        status = file_.Seek(facts.size);
    if (status)
        status = file_.Write(pending_);
    pending_.clear();
    if (!status)
        return status;
    return file_.Flush();
}
