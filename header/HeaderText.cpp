#include "header/HeaderText.h"

#include <algorithm>

namespace {

bool IsTextByte(unsigned char c) {
    return c >= 0x20 || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

HeaderText::HeaderText(std::string_view fileStart)
    : bytes_(fileStart.substr(0, std::min(fileStart.size(), kMaxLength))) {
    size_t begin = 0;
    while (begin < bytes_.size()) {
        const size_t limit = std::min(bytes_.size(), begin + kPieceLimit);
        size_t end = begin;
        bool text = true;
        while (end < limit) {
            const unsigned char c = static_cast<unsigned char>(bytes_[end++]);
            text = text && IsTextByte(c);
            if (c == '\n')
                break;
        }
        if (!text)
            break;
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

std::optional<HeaderLine> FindHeaderKey(const HeaderText& header, std::string_view key) {
    for (const HeaderLine& line : header.Lines()) {
        if (line.text.substr(0, key.size()) == key)
            return line;
    }
    return std::nullopt;
}
