#include "campaign/FileList.h"

#include <algorithm>

#include "platform/DirectorySeparator.h"

namespace {

constexpr unsigned kContinuationBits = 6;

// How many continuation bytes follow the first byte of a character of this value.
int ContinuationBytesFor(uint32_t value) {
    int count = 1;
    while (count < 6 && value >> (kContinuationBits * count + 6 - count) != 0)
        ++count;
    return count;
}

// How many bytes the text takes packed.
size_t PackedLength(std::wstring_view text) {
    size_t length = 0;
    for (const wchar_t c : text) {
        const auto value = static_cast<uint32_t>(c);
        length += value < 0x80 ? 1 : 1 + static_cast<size_t>(ContinuationBytesFor(value));
    }
    return length;
}

// A length in groups of seven bits, the lowest first, each but the last with its top bit set.
void AppendLength(size_t length, std::string& bytes) {
    while (length >= 0x80) {
        bytes += static_cast<char>(0x80 | (length & 0x7F));
        length >>= 7;
    }
    bytes += static_cast<char>(length);
}

size_t LengthAt(std::string_view bytes, size_t& at) {
    size_t length = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return length;
    }
}

bool EndsInSeparator(const std::wstring& folder) {
    return folder.empty() || folder.back() == kDirectorySeparator;
}

// What comes before a name in `folder`.
bool IsPrefixOf(const std::wstring& prefix, const std::wstring& folder) {
    if (EndsInSeparator(folder))
        return prefix == folder;
    return prefix.size() == folder.size() + 1 && prefix.starts_with(folder) &&
           prefix.back() == kDirectorySeparator;
}

}  // namespace

// An ASCII text, as most names are, is appended in one step.
void AppendPacked(std::wstring_view text, std::string& packed) {
    if (std::all_of(text.begin(), text.end(),
                    [](wchar_t c) { return static_cast<uint32_t>(c) < 0x80; })) {
        packed.append(text.begin(), text.end());
        return;
    }
    for (const wchar_t c : text) {
        const auto value = static_cast<uint32_t>(c);
        if (value < 0x80) {
            packed += static_cast<char>(value);
            continue;
        }
        const int more = ContinuationBytesFor(value);
        const auto lead = static_cast<uint32_t>(0xFF00 >> (more + 1)) & 0xFF;
        packed += static_cast<char>(lead | (value >> (kContinuationBits * more)));
        for (int i = more - 1; i >= 0; --i)
            packed += static_cast<char>(0x80 | ((value >> (kContinuationBits * i)) & 0x3F));
    }
}

void AppendUnpacked(std::string_view packed, std::wstring& text) {
    for (size_t at = 0; at < packed.size();) {
        const auto lead = static_cast<unsigned char>(packed[at++]);
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            continue;
        }
        int more = 0;
        while (more < 7 && (lead << (more + 1) & 0x80) != 0)
            ++more;
        uint32_t value = lead & (0x7F >> (more + 1));
        for (int i = 0; i < more && at < packed.size(); ++i)
            value = value << kContinuationBits | (static_cast<unsigned char>(packed[at++]) & 0x3F);
        text += static_cast<wchar_t>(value);
    }
}

void PackedTexts::Add(std::wstring_view text) {
    if (count_ % kStride == 0)
        starts_.push_back(static_cast<uint32_t>(bytes_.size()));
    AppendLength(PackedLength(text), bytes_);
    AppendPacked(text, bytes_);
    ++count_;
}

std::string_view PackedTexts::operator[](size_t index) const {
    const std::string_view bytes(bytes_);
    size_t at = starts_[index / kStride];
    for (size_t skipped = 0; skipped < index % kStride; ++skipped)
        at += LengthAt(bytes, at);
    const size_t length = LengthAt(bytes, at);
    return bytes.substr(at, length);
}

void FileList::Add(std::wstring_view path) {
    if (runs_.empty() || !runs_.back().prefix.empty())
        StartFolder({});
    names_.Add(path);
}

void FileList::AddInFolder(const std::wstring& folder, std::wstring_view name) {
    if (runs_.empty() || !IsPrefixOf(runs_.back().prefix, folder))
        StartFolder(EndsInSeparator(folder) ? folder : folder + kDirectorySeparator);
    names_.Add(name);
}

void FileList::StartFolder(std::wstring prefix) {
    runs_.push_back({names_.size(), std::move(prefix)});
}

const FileList::FolderRun& FileList::RunOf(size_t index) const {
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), index,
                         [](size_t i, const FolderRun& run) { return i < run.first; });
    return *(after - 1);
}

std::wstring FileList::operator[](size_t index) const {
    std::wstring path;
    PathInto(index, path);
    return path;
}

void FileList::PathInto(size_t index, std::wstring& path) const {
    path = RunOf(index).prefix;
    AppendUnpacked(names_[index], path);
}

FileList::operator std::vector<std::wstring>() const {
    std::vector<std::wstring> paths(size());
    for (size_t i = 0; i < size(); ++i)
        PathInto(i, paths[i]);
    return paths;
}
