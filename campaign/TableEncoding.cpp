#include "campaign/TableEncoding.h"

#include "platform/CodePage.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsPlainAscii(unsigned char byte) {
    return byte < 0x80 && byte != '\n' && byte != '\r' && byte != 0;
}

}  // namespace

TableEncodingCheck::TableEncodingCheck(std::optional<unsigned> named, unsigned fallback)
    : codePage_(named.value_or(kUtf8CodePage)),
      fallback_(fallback),
      named_(named.has_value()),
      decided_(named.has_value()) {}

void TableEncodingCheck::TakeUtf8(unsigned char byte) {
    if (due_ > 0) {
        if (byte < low_ || byte > high_)
            validUtf8_ = false;
        --due_;
        low_ = 0x80;
        high_ = 0xBF;
        return;
    }
    if (byte < 0x80)
        return;
    // The first byte fixes the sequence's length and narrows the next byte's range so that
    // overlong forms, surrogates and values beyond U+10FFFF are refused.
    if (byte >= 0xC2 && byte <= 0xDF) {
        due_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        due_ = 2;
        low_ = byte == 0xE0 ? 0xA0 : 0x80;
        high_ = byte == 0xED ? 0x9F : 0xBF;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        due_ = 3;
        low_ = byte == 0xF0 ? 0x90 : 0x80;
        high_ = byte == 0xF4 ? 0x8F : 0xBF;
    } else {
        validUtf8_ = false;
    }
}

unsigned TableEncodingCheck::CodePageThrough(size_t line) const {
    return named_ || (decidedLine_ > 0 && decidedLine_ <= line) ? codePage_ : kUtf8CodePage;
}

bool TableEncodingCheck::Refuse(Fault fault) {
    fault_ = fault;
    return false;
}

bool TableEncodingCheck::Read(std::string_view bytes) {
    if (fault_ != Fault::None)
        return false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        // Plain ASCII inside a line, past its start, changes nothing but the count.
        if (lineBytes_ >= kByteOrderMark.size() && due_ == 0 && !pendingCr_) {
            const size_t from = i;
            while (i < bytes.size() && IsPlainAscii(static_cast<unsigned char>(bytes[i])))
                ++i;
            lineBytes_ += i - from;
            if (i == bytes.size())
                break;
        }
        const char c = bytes[i];
        const auto byte = static_cast<unsigned char>(c);
        beforeFault_ = i;
        if (pendingCr_) {
            pendingCr_ = false;
            if (byte != '\n' && !EndLine())
                return false;
        }
        if (byte == '\r') {
            pendingCr_ = true;
            continue;
        }
        if (byte == '\n') {
            if (!EndLine())
                return false;
            continue;
        }
        if (byte == 0)
            return Refuse(Fault::NulCharacter);
        if (lineBytes_ < kByteOrderMark.size())
            lineStart_ += c;
        ++lineBytes_;
        if (byte >= 0x80)
            ++highBytes_;
        TakeUtf8(byte);
    }
    return true;
}

bool TableEncodingCheck::Finish() {
    pendingCr_ = false;
    return fault_ == Fault::None && (lineBytes_ == 0 || EndLine());
}

bool TableEncodingCheck::EndLine() {
    if (lineStart_ == kByteOrderMark) {
        highBytes_ -= kByteOrderMark.size();
        if (line_ == 1 && !named_)
            decided_ = named_ = true;
    }
    const bool utf8 = validUtf8_ && due_ == 0;
    if (highBytes_ > 0) {
        if (decidedLine_ == 0) {
            decidedLine_ = line_;
            decidingLineWasUtf8_ = utf8;
            if (!decided_)
                codePage_ = utf8 ? kUtf8CodePage : fallback_;
            decided_ = true;
        }
        if (!utf8 && codePage_ == kUtf8CodePage)
            return Refuse(named_ ? Fault::NotUtf8 : Fault::MixedEncodings);
        if (codePage_ != kUtf8CodePage && utf8 != decidingLineWasUtf8_)
            return Refuse(Fault::MixedEncodings);
    }
    ++line_;
    lineBytes_ = highBytes_ = 0;
    lineStart_.clear();
    validUtf8_ = true;
    due_ = 0;
    low_ = 0x80;
    high_ = 0xBF;
    return true;
}

std::string_view TableFileStart(unsigned codePage) {
    return codePage == kUtf8CodePage ? kByteOrderMark : std::string_view();
}

std::string TableFileText(std::string_view utf8, unsigned codePage) {
    if (codePage == kUtf8CodePage)
        return std::string(utf8);
    return UnicodeStringToMultiByte(MultiByteToUnicodeString(utf8, kUtf8CodePage), codePage);
}

std::optional<std::string> TableTextAsUtf8(std::string_view bytes, unsigned codePage) {
    const std::wstring text = MultiByteToUnicodeString(bytes, codePage);
    if (UnicodeStringToMultiByte(text, codePage) != bytes)
        return std::nullopt;
    return UnicodeStringToMultiByte(text, kUtf8CodePage);
}
