#include "header/HeaderText.h"

#include <algorithm>

namespace {

bool IsTextByte(unsigned char c) {
    return c >= 0x20 || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

HeaderText::HeaderText(std::string_view fileStart)
    : bytes_(fileStart.substr(0, std::min(fileStart.size(), kMaxLength))) {
    // A header of the usual 22 lines is split without growing the list.
    lines_.reserve(32);
    size_t begin = 0;
    while (begin < bytes_.size()) {
        const size_t limit = std::min(bytes_.size(), begin + kPieceLimit);
        size_t end = begin;
        while (end < limit) {
            // Only bytes below a space need a closer look; the first that is no text ends the
            // header, as the piece that holds it is not taken.
            const unsigned char c = static_cast<unsigned char>(bytes_[end++]);
            if (c >= 0x20)
                continue;
            if (!IsTextByte(c))
                return;
            if (c == '\n')
                break;
        }
        lines_.push_back({bytes_.substr(begin, end - begin), begin, end});
        begin = end;
    }
}

HeaderLine HeaderText::WholeLineFrom(const HeaderLine& piece) const {
    size_t end = piece.end;
    for (const HeaderLine& line : lines_) {
        if (line.begin < end || bytes_[end - 1] == '\n')
            continue;
        end = line.end;
    }
    return {bytes_.substr(piece.begin, end - piece.begin), piece.begin, end};
}

// Each line's first byte is compared before the rest: a read looks up some thirty keys in each
// of thousands of files.
std::optional<HeaderLine> FindHeaderKey(const HeaderText& header, std::string_view key) {
    for (const HeaderLine& line : header.Lines()) {
        if (!key.empty() && line.text.front() != key.front())
            continue;
        if (line.text.starts_with(key))
            return line;
    }
    return std::nullopt;
}
