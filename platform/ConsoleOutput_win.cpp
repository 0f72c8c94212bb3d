#include "platform/ConsoleOutput.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace {

// Bytes gathered before they go to a file or a pipe in one write.
constexpr size_t kBlockSize = 1 << 16;
// Some consoles refuse a single write of more than 64 KB.
constexpr size_t kConsoleChunk = 8192;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

// The length of `bytes` without a UTF-8 sequence cut off at its end, which waits for the rest.
size_t CompleteUtf8Length(std::string_view bytes) {
    const size_t size = bytes.size();
    for (size_t back = 1; back <= std::min<size_t>(3, size); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

class HandleBuffer : public std::streambuf {
  public:
    HandleBuffer(HANDLE handle, bool lineByLine)
        : handle_(handle), console_(IsConsole(handle)), lineByLine_(lineByLine || console_) {}
    ~HandleBuffer() override { WritePending(true); }

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        pending_ += byte;
        if ((lineByLine_ && byte == '\n') || pending_.size() >= kBlockSize)
            WritePending(false);
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const std::string_view added(text, static_cast<size_t>(count));
        pending_ += added;
        if ((lineByLine_ && added.find('\n') != std::string_view::npos) ||
            pending_.size() >= kBlockSize) {
            if (!WritePending(false))
                return 0;
        }
        return count;
    }

    int sync() override { return WritePending(false) ? 0 : -1; }

  private:
    // `all` also writes a sequence that was cut off, as it stands, at the end of the output.
    bool WritePending(bool all) { return console_ ? WriteToConsole(all) : WriteBytes(); }

    bool WriteBytes() {
        std::string_view bytes = pending_;
        bool ok = true;
        while (ok && !bytes.empty()) {
            DWORD written = 0;
            ok = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr) != FALSE &&
                 written > 0;
            bytes.remove_prefix(written);
        }
        pending_.clear();
        return ok;
    }

    // A table's byte-order mark is for spreadsheets; a console would show it as a character.
    bool WriteToConsole(bool all) {
        if (atStart_ && pending_.starts_with(kByteOrderMark))
            pending_.erase(0, kByteOrderMark.size());
        const size_t complete = all ? pending_.size() : CompleteUtf8Length(pending_);
        if (complete == 0)
            return true;
        atStart_ = false;
        const std::wstring text =
            MultiByteToUnicodeString(std::string_view(pending_).substr(0, complete), kUtf8CodePage);
        pending_.erase(0, complete);
        for (size_t at = 0; at < text.size(); at += kConsoleChunk) {
            const DWORD length = static_cast<DWORD>(std::min(kConsoleChunk, text.size() - at));
            DWORD written = 0;
            if (!WriteConsoleW(handle_, text.data() + at, length, &written, nullptr))
                return false;
        }
        return true;
    }

    HANDLE handle_;
    bool console_;
    bool lineByLine_;
    bool atStart_ = true;
    std::string pending_;
};

}  // namespace

std::unique_ptr<std::streambuf> OutputBufferFor(void* handle, bool lineByLine) {
    return std::make_unique<HandleBuffer>(static_cast<HANDLE>(handle), lineByLine);
}
