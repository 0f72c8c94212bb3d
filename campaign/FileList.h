#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Wide text as bytes, one for each ASCII character: each character, whatever its value, in the
// variable-length form of UTF-8, so that any wide text comes back as it was and packed texts sort
// as their wide texts do.
void AppendPacked(std::wstring_view text, std::string& packed);
void AppendUnpacked(std::string_view packed, std::wstring& text);

// Packed texts one after another in one buffer, each after its length: a campaign's names cost
// little more than their bytes.
class PackedTexts {
  public:
    void Add(std::wstring_view text);
    std::string_view operator[](size_t index) const;
    // The text at `index` into `text`, whose buffer a loop over thousands of texts reuses.
    void TextInto(size_t index, std::wstring& text) const {
        text.clear();
        AppendUnpacked((*this)[index], text);
    }
    size_t size() const { return count_; }

  private:
    // Where every kStride-th text starts; a text is found from the last of these before it.
    static constexpr size_t kStride = 16;

    std::string bytes_;
    std::vector<uint32_t> starts_;
    size_t count_ = 0;
};

// The paths of a campaign in their order, held compactly as it may have tens of thousands of
// files: each folder once, beside the packed names of its files.
class FileList {
  public:
    // A path of its own.
    void Add(std::wstring_view path);
    // `name` in `folder`, with one separator between them as PathInFolder puts it.
    void AddInFolder(const std::wstring& folder, std::wstring_view name);

    size_t size() const { return names_.size(); }
    std::wstring operator[](size_t index) const;
    // The path at `index` into `path`, whose buffer a loop over thousands of files reuses.
    void PathInto(size_t index, std::wstring& path) const;

    // The commands that keep every path whole take the list as their paths.
    operator std::vector<std::wstring>() const;

  private:
    // The files from `first` on, up to the next run's, are in the folder `prefix` (its
    // separator included; empty for paths of their own).
    struct FolderRun {
        size_t first;
        std::wstring prefix;
    };

    void StartFolder(std::wstring prefix);
    const FolderRun& RunOf(size_t index) const;

    PackedTexts names_;
    std::vector<FolderRun> runs_;
};
