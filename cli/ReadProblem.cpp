#include "cli/ReadProblem.h"

#include <string_view>

#include "platform/Utf8.h"
#include "platform/FileSystem.h"

namespace {

struct ReaderMessage {
    std::wstring_view start;
    std::string_view english;
};

constexpr ReaderMessage kReaderMessages[] = {
    {L"未发现版本号(ver)", "no version line (\"ver\"); is it a TZR raw file?"},
    {L"未发现SN号(ReceiverID)", "no receiver line (\"ReceiverID:\"); is it a TZR raw file?"},
    {L"文件头未发现日期信息", "the header has no date line (\"Date:\")"},
    {L"数据异常", "the date line is longer than 15 bytes"},
    {L"打开TZR文件失败", "cannot open the file"},
};

}  // namespace

std::string FirstLineOf(const std::wstring& systemText) {
    std::wstring line = systemText.substr(0, systemText.find_first_of(L"\r\n"));
    while (!line.empty() && (line.back() == L' ' || line.back() == L'.'))
        line.pop_back();
    return ToUtf8(line);
}

std::optional<std::string> UnreadableReason(const std::wstring& path) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file =
        SystemFileSystem().Open(path, OpenMode::ReadShared, status);
    if (file) {
        char byte;
        size_t got = 0;
        status = file->Read(&byte, 1, got);
    }
    if (status)
        return std::nullopt;
    return FirstLineOf(status.error);
}

std::string ReadProblem(const std::wstring& path, const StationHeader& header,
                        const std::vector<std::wstring>& messages) {
    if (header.headerLoaded)
        return {};
    if (std::optional<std::string> reason = UnreadableReason(path))
        return *reason;
    std::string problem;
    for (const std::wstring& message : messages)
        problem += (problem.empty() ? "" : "; ") + InEnglish(message);
    return problem.empty() ? "cannot read the header" : problem;
}

std::string InEnglish(const std::wstring& readerMessage) {
    for (const ReaderMessage& message : kReaderMessages) {
        if (readerMessage.starts_with(message.start))
            return std::string(message.english);
    }
    return ToUtf8(readerMessage);
}

std::string JournalProblemText(const std::wstring& systemText) {
    const size_t lineEnd = systemText.find(L'\n');
    const std::string reason = FirstLineOf(systemText);
    return lineEnd == std::wstring::npos ? reason
                                         : ToUtf8(systemText.substr(lineEnd + 1)) + ": " + reason;
}
