#include "campaign/Journal.h"

#include <charconv>
#include <ctime>
#include <map>
#include <random>

#include "campaign/Base64.h"
#include "campaign/JsonObject.h"
#include "platform/AbsolutePath.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"

#include <nlohmann/json.hpp>

namespace {

std::string JsonString(std::string_view utf8) {
    return nlohmann::json(std::string(utf8)).dump(-1, ' ', false,
                                                  nlohmann::json::error_handler_t::replace);
}

std::string JsonString(std::wstring_view text) {
    return JsonString(ToUtf8(text));
}

std::string UtcTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, format, std::gmtime(&now));
    return text;
}

std::string IdentityMembers(const FileIdentity& identity) {
    return ", \"volume\": \"" + std::to_string(identity.volume) + "\", \"index\": \"" +
           std::to_string(identity.index) + "\"";
}

std::optional<uint64_t> Unsigned(const std::optional<std::string>& text) {
    uint64_t value = 0;
    if (!text || std::from_chars(text->data(), text->data() + text->size(), value).ptr !=
                     text->data() + text->size())
        return std::nullopt;
    return value;
}

std::wstring WidePath(const std::optional<std::string>& utf8) {
    return utf8 ? MultiByteToUnicodeString(*utf8, kUtf8CodePage) : std::wstring();
}

struct Line {
    std::string entry;
    BatchInfo info;
    JournalFile file;
};

std::optional<Line> ReadLine(std::string_view text) {
    const std::optional<JsonObject> object = JsonObject::Parse(text);
    if (!object)
        return std::nullopt;
    Line line;
    line.entry = object->Text("entry").value_or("");
    line.info.id = object->Text("batch").value_or("");
    const std::optional<uint64_t> number = Unsigned(object->Literal("file"));
    const std::optional<uint64_t> volume = Unsigned(object->Text("volume"));
    const std::optional<uint64_t> index = Unsigned(object->Text("index"));
    if (line.info.id.empty() || !number || !volume || !index)
        return std::nullopt;
    line.file.number = static_cast<int>(*number);
    line.file.identity = {*volume, *index};
    line.info.time = object->Text("time").value_or("");
    if (line.entry == "done") {
        line.file.written = object->Text("outcome") == "written";
        line.file.pathAfter = WidePath(object->Text("path"));
        return line;
    }
    const std::optional<std::string> oldHeader = FromBase64(object->Text("oldHeader").value_or(""));
    const std::optional<std::string> newHeader = FromBase64(object->Text("newHeader").value_or(""));
    if (line.entry != "intent" || !oldHeader || !newHeader)
        return std::nullopt;
    line.info.version = object->Text("version").value_or("");
    line.info.command = object->Text("command").value_or("");
    line.info.undoes = object->Text("undoes");
    line.file.oldPath = WidePath(object->Text("oldPath"));
    line.file.newPath = WidePath(object->Text("newPath"));
    line.file.oldHeader = *oldHeader;
    line.file.newHeader = *newHeader;
    return line;
}

}  // namespace

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

Journal ParseJournal(std::string_view bytes) {
    Journal journal;
    std::map<std::string, size_t> batchById;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view text = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (text.find_first_not_of(" \r\t") == std::string_view::npos)
            continue;
        std::optional<Line> line = ReadLine(text);
        const auto batch = line ? batchById.find(line->info.id) : batchById.end();
        if (line && line->entry == "intent") {
            if (batch == batchById.end()) {
                batchById[line->info.id] = journal.batches.size();
                journal.batches.push_back({line->info, {}});
            }
            journal.batches[batchById[line->info.id]].files.push_back(line->file);
            continue;
        }
        JournalFile* file = nullptr;
        if (line && batch != batchById.end()) {
            for (JournalFile& candidate : journal.batches[batch->second].files) {
                if (candidate.number == line->file.number)
                    file = &candidate;
            }
        }
        if (file == nullptr) {
            ++journal.unreadableLines;
            continue;
        }
        file->written = line->file.written;
        file->pathAfter = line->file.pathAfter;
    }
    return journal;
}

std::vector<bool> TakenBack(const std::vector<JournalBatch>& batches) {
    std::vector<bool> takenBack(batches.size(), false);
    for (size_t i = batches.size(); i-- > 0;) {
        for (size_t later = i + 1; later < batches.size() && !takenBack[i]; ++later)
            takenBack[i] = batches[later].info.undoes == batches[i].info.id && !takenBack[later];
    }
    return takenBack;
}

FileStatus JournalWriter::AppendLine(std::string_view line) {
    if (FileStatus status = file_->Write(line); !status)
        return status;
    return file_->Flush();
}

namespace {

bool EndsInsideALine(const std::wstring& path) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file =
        SystemFileSystem().Open(path, OpenMode::ReadShared, status);
    FileFacts facts;
    if (!file || !file->Facts(facts) || facts.size == 0 || !file->Seek(facts.size - 1))
        return false;
    char last = '\n';
    size_t got = 0;
    return file->Read(&last, 1, got) && got == 1 && last != '\n';
}

}  // namespace

std::unique_ptr<JournalWriter> JournalWriter::Open(const std::wstring& path, BatchInfo info,
                                                   FileStatus& status) {
    if (status = CreateFoldersAbove(path); !status)
        return nullptr;
    std::unique_ptr<OpenedFile> file = SystemFileSystem().Open(path, OpenMode::Append, status);
    if (!file)
        return nullptr;
    // A line that a full disk cut off must not swallow the first line of this batch.
    if (EndsInsideALine(path) && !(status = file->Write("\n")))
        return nullptr;
    return std::unique_ptr<JournalWriter>(new JournalWriter(std::move(file), std::move(info)));
}

std::string JournalWriter::LineStart(std::string_view entry, int number) const {
    return "{\"entry\": \"" + std::string(entry) + "\", \"batch\": " + JsonString(info_.id) +
           ", \"file\": " + std::to_string(number) + ", \"time\": " + JsonString(JournalTime());
}

FileStatus JournalWriter::Intent(const JournalFile& file) {
    const std::string line =
        LineStart("intent", file.number) + ", \"version\": " + JsonString(info_.version) +
        ", \"command\": " + JsonString(info_.command) +
        ", \"undoes\": " + (info_.undoes ? JsonString(*info_.undoes) : "null") +
        IdentityMembers(file.identity) +
        ", \"oldPath\": " + JsonString(AbsolutePath(file.oldPath)) +
        ", \"newPath\": " + JsonString(AbsolutePath(file.newPath)) + ", \"oldHeader\": \"" +
        ToBase64(file.oldHeader) + "\", \"newHeader\": \"" + ToBase64(file.newHeader) + "\"}\n";
    return AppendLine(line);
}

FileStatus JournalWriter::Done(int number, bool written, const std::string& error,
                               const std::wstring& pathAfter, const FileIdentity& identityAfter) {
    const std::string line = LineStart("done", number) + ", \"outcome\": \"" +
                             (written ? "written" : "failed") +
                             "\", \"error\": " + (error.empty() ? "null" : JsonString(error)) +
                             ", \"path\": " + JsonString(AbsolutePath(pathAfter)) +
                             IdentityMembers(identityAfter) + "}\n";
    return AppendLine(line);
}
