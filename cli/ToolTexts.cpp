#include "cli/ToolTexts.h"

#include <vector>

#include "header/AsciiText.h"

const ToolTexts& TextsIn(Language language) {
    return language == Language::Chinese ? ChineseTexts() : EnglishTexts();
}

// "{}" takes the next value, "{N}" the value N, so that a language may name them in its own order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    const std::vector<std::string_view> given(values);
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
        if (close == std::string_view::npos) {
            text += pattern[i];
            continue;
        }
        size_t index = next++;
        if (close == i + 2 && IsAsciiDigit(pattern[i + 1]))
            index = static_cast<size_t>(pattern[i + 1] - '0');
        else if (close != i + 1) {
            text += pattern[i];
            continue;
        }
        if (index < given.size())
            text += given[index];
        i = close;
    }
    return text;
}

std::string CountOf(size_t count, std::string_view one, std::string_view more) {
    return Fill(count == 1 ? one : more, {std::to_string(count)});
}
