#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How a table file's physical lines are written, told line by line as its bytes arrive, so that
// a table that mixes encodings (UTF-8 rows pasted into a GBK table) is refused at the first line
// that differs instead of being decoded whole in one of them.
//
// The table is in `named` when --encoding names one; otherwise in UTF-8 when it starts with a
// UTF-8 byte-order mark or its first line beyond ASCII is valid UTF-8, else in `fallback`. A
// line beyond ASCII that is valid UTF-8 and one that is not cannot both be in one table; a table
// in UTF-8 holds no line that is not. A byte-order mark at a line's start is no text of it.
class TableEncodingCheck {
  public:
    enum class Fault {
        None,
        // A NUL byte: no spreadsheet writes one into a comma-separated table.
        NulCharacter,
        // Not UTF-8, in a table that must be (by --encoding or its byte-order mark).
        NotUtf8,
        // Valid UTF-8 where another line is not, or the other way round.
        MixedEncodings,
    };

    TableEncodingCheck(std::optional<unsigned> named, unsigned fallback);

    // False at the first fault.
    bool Read(std::string_view bytes);
    // After a fault in Read: how many of its bytes came before the fault.
    size_t BytesBeforeFault() const { return beforeFault_; }
    // Ends the text; false at a fault in its last line.
    bool Finish();

    // The code page the table is read in: UTF-8 until a line beyond ASCII says otherwise.
    unsigned CodePage() const { return codePage_; }
    // The code page for text up to `line`, told by what came before it only: text read in
    // pieces decodes as text read whole.
    unsigned CodePageThrough(size_t line) const;
    // Whether the code page was named or marked rather than guessed from the text.
    bool Named() const { return named_; }
    bool HoldsNonAscii() const { return decidedLine_ > 0; }

    Fault ReadFault() const { return fault_; }
    size_t FaultLine() const { return line_; }
    // For MixedEncodings: the first line beyond ASCII, which decided the table's encoding.
    size_t DecidingLine() const { return decidedLine_; }

  private:
    bool EndLine();
    void TakeUtf8(unsigned char byte);
    bool Refuse(Fault fault);

    unsigned codePage_;
    unsigned fallback_;
    bool named_;
    // True once --encoding, the byte-order mark or a line beyond ASCII fixed the code page.
    bool decided_;
    size_t decidedLine_ = 0;
    bool decidingLineWasUtf8_ = false;
    size_t line_ = 1;
    size_t lineBytes_ = 0;
    // A CR not yet known to be followed by an LF; alone, it ends a line as well.
    bool pendingCr_ = false;
    std::string lineStart_;
    size_t highBytes_ = 0;
    bool validUtf8_ = true;
    // The UTF-8 sequence being read: continuation bytes still due, and the range of the next one.
    int due_ = 0;
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
    Fault fault_ = Fault::None;
    size_t beforeFault_ = 0;
};

// What a table file in `codePage` begins with: UTF-8 gets a byte-order mark, by which
// spreadsheets tell it from the system's code page.
std::string_view TableFileStart(unsigned codePage);

// UTF-8 text as a table file in `codePage` holds it.
std::string TableFileText(std::string_view utf8, unsigned codePage);

// Text in `codePage` as UTF-8; nothing when the bytes are not text in it (they would not convert
// back to themselves).
std::optional<std::string> TableTextAsUtf8(std::string_view bytes, unsigned codePage);
