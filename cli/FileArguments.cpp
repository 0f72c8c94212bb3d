#include "cli/FileArguments.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "campaign/RawFolder.h"
#include "campaign/TableEncoding.h"
#include "cli/ReadProblem.h"
#include "cli/ToolOptions.h"
#include "cli/ToolTexts.h"
#include "cli/Wildcard.h"
#include "platform/CodePage.h"
#include "platform/DirectorySeparator.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Utf8.h"

namespace {

constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

std::wstring WithSystemSeparators(std::wstring path) {
    std::replace(path.begin(), path.end(), kAlternativeSeparator, kDirectorySeparator);
    return path;
}

class Expansion {
  public:
    Expansion(const FileArgumentOptions& options, std::ostream& err)
        : options_(options), texts_(TextsIn(options.language)), err_(err) {}

    void Add(const std::wstring& argument, bool fromList) {
        if (!fromList && argument.starts_with(L'@') && argument.size() > 1)
            return AddListed(argument);
        const std::wstring path = WithSystemSeparators(argument);
        if (HasWildcards(path) && !SystemFileSystem().Exists(path))
            return AddMatches(argument, path);
        if (IsFolder(path))
            return AddFolder(argument, path);
        files_.push_back(path);
    }

    std::vector<std::wstring> Files() && { return std::move(files_); }

  private:
    void AddListed(const std::wstring& argument) {
        const std::wstring list = argument.substr(1);
        const std::optional<std::string> bytes = ReadFileBytes(list);
        if (!bytes)
            throw UsageError{Named(argument, UnreadableReason(list).value_or(
                                                 std::string(texts_.listUnreadable))),
                             false};
        const std::vector<std::wstring> lines = ListLines(argument, *bytes, texts_);
        if (lines.empty())
            throw UsageError{Named(argument, std::string(texts_.listNamesNoFile)), false};
        for (const std::wstring& line : lines)
            Add(line, true);
    }

    static std::vector<std::wstring> ListLines(const std::wstring& argument,
                                               const std::string& bytes, const ToolTexts& texts) {
        std::wstring text;
        if (bytes.starts_with(kUtf16ByteOrderMark)) {
            for (size_t at = kUtf16ByteOrderMark.size(); at + 1 < bytes.size(); at += 2)
                text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]) |
                                             static_cast<unsigned char>(bytes[at + 1]) << 8);
        } else {
            // UTF-8 when the bytes are, else the system's code page, as tables are read.
            const std::string_view body = std::string_view(bytes).starts_with("\xEF\xBB\xBF")
                                              ? std::string_view(bytes).substr(3)
                                              : std::string_view(bytes);
            std::optional<std::string> decoded = TableTextAsUtf8(body, kUtf8CodePage);
            if (!decoded)
                decoded = TableTextAsUtf8(body, AnsiCodePage());
            if (!decoded)
                throw UsageError{Named(argument, std::string(texts.listNotText)), false};
            text = FromUtf8(*decoded);
        }
        std::vector<std::wstring> lines;
        for (size_t start = 0; start < text.size();) {
            const size_t end = std::min(text.find(L'\n', start), text.size());
            std::wstring line = text.substr(start, end - start);
            if (!line.empty() && line.back() == L'\r')
                line.pop_back();
            if (line.find_first_not_of(L" \t") != std::wstring::npos)
                lines.push_back(std::move(line));
            start = end + 1;
        }
        return lines;
    }

    // The pattern is taken apart at its separators; the part before the first wildcard is
    // a folder as given, and every part after it is matched in the folders found so far.
    void AddMatches(const std::wstring& argument, const std::wstring& pattern) {
        const size_t fixedEnd =
            pattern.find_last_of(kDirectorySeparator, pattern.find_first_of(L"*?"));
        const size_t partsStart = fixedEnd == std::wstring::npos ? 0 : fixedEnd + 1;
        std::vector<std::wstring> parts;
        for (size_t start = partsStart; start <= pattern.size();) {
            const size_t end = std::min(pattern.find(kDirectorySeparator, start), pattern.size());
            if (end > start)
                parts.push_back(pattern.substr(start, end - start));
            start = end + 1;
        }
        std::vector<std::wstring> found = {pattern.substr(0, partsStart)};
        for (size_t i = 0; i < parts.size(); ++i)
            found = Matching(found, parts[i], i + 1 == parts.size());
        if (found.empty())
            throw UsageError{Named(argument, std::string(texts_.noFileMatches)), false};
        for (const std::wstring& path : found) {
            if (IsFolder(path))
                AddRawFilesOf(path);
            else
                files_.push_back(path);
        }
    }

    // What `part` names in each of the folders: folders only, unless it is the last part.
    static std::vector<std::wstring> Matching(const std::vector<std::wstring>& folders,
                                              const std::wstring& part, bool last) {
        std::vector<std::wstring> found;
        for (const std::wstring& folder : folders) {
            if (!HasWildcards(part)) {
                const std::wstring path = PathInFolder(folder, part);
                if (last ? SystemFileSystem().Exists(path) : IsFolder(path))
                    found.push_back(path);
                continue;
            }
            FileStatus status;
            for (const FolderEntry& entry : FolderEntriesByName(folder, status)) {
                const std::wstring path = PathInFolder(folder, entry.name);
                if (MatchesWildcard(entry.name, part) && (last || entry.folder || IsFolder(path)))
                    found.push_back(path);
            }
        }
        return found;
    }

    void AddFolder(const std::wstring& argument, const std::wstring& folder) {
        RawFolder found = RawFilesInFolder(folder, options_.recursive);
        if (!found.status)
            throw UsageError{Named(argument, FirstLineOf(found.status.error)), false};
        ReportPassedOver(found.unlisted);
        if (found.files.empty())
            throw UsageError{Named(argument, std::string(found.hasSubfolders && !options_.recursive
                                                             ? texts_.noRawFileTrySubfolders
                                                             : texts_.noRawFile)),
                             false};
        AddFiles(std::move(found.files));
    }

    // A folder that cannot be listed (a system folder at a drive's root) stops nothing.
    void AddRawFilesOf(const std::wstring& folder) {
        RawFolder found = RawFilesInFolder(folder, options_.recursive);
        if (!found.status)
            found.unlisted.insert(found.unlisted.begin(), {folder, found.status.error});
        ReportPassedOver(found.unlisted);
        AddFiles(std::move(found.files));
    }

    void ReportPassedOver(const std::vector<UnlistedFolder>& folders) {
        for (const UnlistedFolder& folder : folders)
            err_ << "tzrhdr: " << ToUtf8(folder.path) << ": "
                 << Fill(texts_.passedOver, {FirstLineOf(folder.error)}) << "\n";
    }

    // Moved, as a folder may hold tens of thousands.
    void AddFiles(std::vector<std::wstring> files) {
        files_.insert(files_.end(), std::make_move_iterator(files.begin()),
                      std::make_move_iterator(files.end()));
    }

    static std::string Named(const std::wstring& argument, const std::string& problem) {
        return ToUtf8(argument) + ": " + problem;
    }

    const FileArgumentOptions& options_;
    const ToolTexts& texts_;
    std::ostream& err_;
    std::vector<std::wstring> files_;
};

}  // namespace

std::vector<std::wstring> ExpandFileArguments(const std::vector<std::wstring>& arguments,
                                              const FileArgumentOptions& options,
                                              std::ostream& err) {
    Expansion expansion(options, err);
    for (const std::wstring& argument : arguments)
        expansion.Add(argument, false);
    return std::move(expansion).Files();
}
