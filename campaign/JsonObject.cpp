#include "campaign/JsonObject.h"

#include <charconv>

namespace {

class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    void SkipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }

    bool Take(char c) {
        SkipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool AtEnd() {
        SkipSpace();
        return at_ == text_.size();
    }

    bool NextIsString() {
        SkipSpace();
        return at_ < text_.size() && text_[at_] == '"';
    }

    // A string after its opening quote, decoded to UTF-8.
    std::optional<std::string> String() {
        if (!Take('"'))
            return std::nullopt;
        std::string decoded;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return decoded;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                decoded += c;
            } else if (!Escape(decoded)) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    // A number, true, false or null, as its text.
    std::optional<std::string> Literal() {
        SkipSpace();
        const size_t start = at_;
        constexpr std::string_view kEnds = ",} \t\r\n";
        while (at_ < text_.size() && kEnds.find(text_[at_]) == std::string_view::npos)
            ++at_;
        const std::string_view literal = text_.substr(start, at_ - start);
        if (literal == "true" || literal == "false" || literal == "null")
            return std::string(literal);
        double number;
        const auto result =
            std::from_chars(literal.data(), literal.data() + literal.size(), number);
        if (literal.empty() || result.ec != std::errc() ||
            result.ptr != literal.data() + literal.size())
            return std::nullopt;
        return std::string(literal);
    }

  private:
    std::optional<unsigned> Hex4() {
        if (at_ + 4 > text_.size())
            return std::nullopt;
        unsigned value = 0;
        const auto result = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (result.ptr != text_.data() + at_ + 4)
            return std::nullopt;
        at_ += 4;
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool Escape(std::string& out) {
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_++];
        constexpr std::string_view kFrom = "\"\\/bfnrt";
        constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        if (const size_t simple = kFrom.find(c); simple != std::string_view::npos) {
            out += kTo[simple];
            return true;
        }
        if (c != 'u')
            return false;
        std::optional<unsigned> code = Hex4();
        if (code && *code >= 0xD800 && *code < 0xDC00) {
            if (text_.substr(at_, 2) != "\\u")
                return false;
            at_ += 2;
            const std::optional<unsigned> low = Hex4();
            if (!low || *low < 0xDC00 || *low >= 0xE000)
                return false;
            code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
        }
        if (code)
            AppendUtf8(out, *code);
        return code.has_value();
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

std::optional<JsonObject> JsonObject::Parse(std::string_view text) {
    Scanner scanner(text);
    JsonObject object;
    if (!scanner.Take('{'))
        return std::nullopt;
    if (!scanner.Take('}')) {
        do {
            const std::optional<std::string> key = scanner.String();
            if (!key || !scanner.Take(':'))
                return std::nullopt;
            const bool isString = scanner.NextIsString();
            std::optional<std::string> value = isString ? scanner.String() : scanner.Literal();
            if (!value)
                return std::nullopt;
            object.members_[*key] = {isString, std::move(*value)};
        } while (scanner.Take(','));
        if (!scanner.Take('}'))
            return std::nullopt;
    }
    if (!scanner.AtEnd())
        return std::nullopt;
    return object;
}

std::optional<std::string> JsonObject::Text(const std::string& key) const {
    const auto found = members_.find(key);
    if (found == members_.end() || !found->second.isString)
        return std::nullopt;
    return found->second.text;
}

std::optional<std::string> JsonObject::Literal(const std::string& key) const {
    const auto found = members_.find(key);
    if (found == members_.end() || found->second.isString)
        return std::nullopt;
    return found->second.text;
}
