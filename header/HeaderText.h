#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// One line of header text, or a 159-byte piece of a longer line, as fgets reads it into a
// 160-byte buffer; the LF that ends it stays in the text.
struct HeaderLine {
    std::string_view text;
    size_t begin = 0;  // file offset of the first byte
    size_t end = 0;    // file offset just after the last byte
};

// The text lines at the start of a raw file. The header ends before the first piece holding a
// control byte other than TAB, CR and LF, which is where the binary observation data begins, so
// a key can never be matched inside the data, however large the file.
class HeaderText {
  public:
    static constexpr size_t kPieceLimit = 159;
    static constexpr size_t kMaxLength = 64 * 1024;

    // `fileStart` is the beginning of the file, of which at most kMaxLength bytes are looked at;
    // it must outlive this object.
    explicit HeaderText(std::string_view fileStart);

    const std::vector<HeaderLine>& Lines() const { return lines_; }
    // File offset just after the header.
    size_t End() const { return lines_.empty() ? 0 : lines_.back().end; }
    // The whole line from `piece` to its LF, joining the pieces of a long line.
    HeaderLine WholeLineFrom(const HeaderLine& piece) const;

  private:
    std::string_view bytes_;
    std::vector<HeaderLine> lines_;
};

// The first line, from the start of the header, that begins with exactly the key's bytes.
std::optional<HeaderLine> FindHeaderKey(const HeaderText& header, std::string_view key);
