#include "cli/ReadProblem.h"

#include "campaign/FileReadFailure.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

std::string FirstLineOf(const std::wstring& systemText) {
    std::wstring line = systemText.substr(0, systemText.find_first_of(L"\r\n"));
    while (!line.empty() && (line.back() == L' ' || line.back() == L'.'))
        line.pop_back();
    return ToUtf8(line);
}

std::optional<std::string> UnreadableReason(const std::wstring& path) {
    const std::optional<std::wstring> reason = SystemReadReason(SystemFileSystem(), path);
    if (!reason)
        return std::nullopt;
    return FirstLineOf(*reason);
}

std::optional<ReadFailure> ReadFailureOf(const std::wstring& path, const StationHeader& header,
                                         const std::vector<ReaderMessage>& messages) {
    return ReadFailureOf(SystemFileSystem(), path, header, messages);
}

std::string_view ReaderMessageCode(ReaderMessage message) {
    constexpr std::string_view kCodes[] = {"cannot-open", "no-version", "no-receiver-id", "no-date",
                                           "date-too-long"};
    return kCodes[static_cast<size_t>(message)];
}

std::string ReaderMessageText(ReaderMessage message, Language language) {
    const ToolTexts& texts = TextsIn(language);
    switch (message) {
        case ReaderMessage::CannotOpen:
            return std::string(texts.cannotOpen);
        case ReaderMessage::NoVersion:
            return std::string(texts.noVersion);
        case ReaderMessage::NoReceiverId:
            return std::string(texts.noReceiverId);
        case ReaderMessage::NoDate:
            return std::string(texts.noDate);
        case ReaderMessage::DateTooLong:
            return std::string(texts.dateTooLong);
    }
    return {};
}

std::string ReadFailureText(const ReadFailure& failure, Language language) {
    if (!failure.systemReason.empty())
        return FirstLineOf(failure.systemReason);
    const ToolTexts& texts = TextsIn(language);
    std::string text;
    for (const ReaderMessage message : failure.messages)
        text += (text.empty() ? "" : std::string(texts.problemSeparator)) +
                ReaderMessageText(message, language);
    return text.empty() ? std::string(texts.cannotReadHeader) : text;
}

std::string ReadProblem(const std::wstring& path, const StationHeader& header,
                        const std::vector<ReaderMessage>& messages, Language language) {
    const std::optional<ReadFailure> failure = ReadFailureOf(path, header, messages);
    return failure ? ReadFailureText(*failure, language) : std::string();
}

std::string JournalProblemText(const std::wstring& systemText) {
    const size_t lineEnd = systemText.find(L'\n');
    const std::string reason = FirstLineOf(systemText);
    return lineEnd == std::wstring::npos ? reason
                                         : ToUtf8(systemText.substr(lineEnd + 1)) + ": " + reason;
}
