#include "cli/FileArguments.h"

#include <algorithm>
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
        files_.Add(path);
    }

    FileList Files() && { return std::move(files_); }

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
    // a folder as given, and every part after it is matched in the folders found so far. What
    // the last part matches is taken as it is found, as it may be thousands of files.
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
        std::vector<std::wstring> folders = {pattern.substr(0, partsStart)};
        for (size_t i = 0; i + 1 < parts.size(); ++i)
            folders = MatchingFolders(folders, parts[i]);
        size_t matches = 0;
        for (const std::wstring& folder : folders)
            matches += AddMatching(folder, parts.back());
        if (matches == 0)
            throw UsageError{Named(argument, std::string(texts_.noFileMatches)), false};
    }

    // The folders that `part` names in each of the folders.
    static std::vector<std::wstring> MatchingFolders(const std::vector<std::wstring>& folders,
                                                     const std::wstring& part) {
        std::vector<std::wstring> found;
        std::wstring name;
        for (const std::wstring& folder : folders) {
            if (!HasWildcards(part)) {
                if (std::wstring path = PathInFolder(folder, part); IsFolder(path))
                    found.push_back(std::move(path));
                continue;
            }
            FileStatus status;
            const FolderNames entries = FolderEntriesByName(folder, status);
            for (size_t i = 0; i < entries.size(); ++i) {
                entries.NameInto(i, name);
                std::wstring path = PathInFolder(folder, name);
                if (MatchesWildcard(name, part) && (entries.Folder(i) || IsFolder(path)))
                    found.push_back(std::move(path));
            }
        }
        return found;
    }

    // Adds what the last part of a pattern names in `folder`: a file, or the raw files of a
    // folder. Returns how many names it matched.
    size_t AddMatching(const std::wstring& folder, const std::wstring& part) {
        if (!HasWildcards(part)) {
            const std::wstring path = PathInFolder(folder, part);
            if (!SystemFileSystem().Exists(path))
                return 0;
            AddMatch(path);
            return 1;
        }
        FileStatus status;
        const FolderNames entries = FolderEntriesByName(folder, status);
        size_t matches = 0;
        std::wstring name;
        for (size_t i = 0; i < entries.size(); ++i) {
            entries.NameInto(i, name);
            if (!MatchesWildcard(name, part))
                continue;
            ++matches;
            const std::wstring path = PathInFolder(folder, name);
            if (IsFolder(path))
                AddRawFilesOf(path);
            else
                files_.AddInFolder(folder, name);
        }
        return matches;
    }

    void AddMatch(const std::wstring& path) {
        if (IsFolder(path))
            AddRawFilesOf(path);
        else
            files_.Add(path);
    }

    void AddFolder(const std::wstring& argument, const std::wstring& folder) {
        const size_t before = files_.size();
        const RawFolderWalk found = AddRawFilesInFolder(folder, options_.recursive, files_);
        if (!found.status)
            throw UsageError{Named(argument, FirstLineOf(found.status.error)), false};
        ReportPassedOver(found.unlisted);
        if (files_.size() == before)
            throw UsageError{Named(argument, std::string(found.hasSubfolders && !options_.recursive
                                                             ? texts_.noRawFileTrySubfolders
                                                             : texts_.noRawFile)),
                             false};
    }

    // A folder that cannot be listed (a system folder at a drive's root) stops nothing.
    void AddRawFilesOf(const std::wstring& folder) {
        RawFolderWalk found = AddRawFilesInFolder(folder, options_.recursive, files_);
        if (!found.status)
            found.unlisted.insert(found.unlisted.begin(), {folder, found.status.error});
        ReportPassedOver(found.unlisted);
    }

    void ReportPassedOver(const std::vector<UnlistedFolder>& folders) {
        for (const UnlistedFolder& folder : folders)
            err_ << "tzrhdr: " << ToUtf8(folder.path) << ": "
                 << Fill(texts_.passedOver, {FirstLineOf(folder.error)}) << "\n";
    }

    static std::string Named(const std::wstring& argument, const std::string& problem) {
        return ToUtf8(argument) + ": " + problem;
    }

    const FileArgumentOptions& options_;
    const ToolTexts& texts_;
    std::ostream& err_;
    FileList files_;
};

}  // namespace

FileList ExpandFileArguments(const std::vector<std::wstring>& arguments,
                             const FileArgumentOptions& options, std::ostream& err) {
    Expansion expansion(options, err);
    for (const std::wstring& argument : arguments)
        expansion.Add(argument, false);
    return std::move(expansion).Files();
}
