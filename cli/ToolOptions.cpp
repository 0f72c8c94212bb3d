#include "cli/ToolOptions.h"

#include "cli/ReadProblem.h"
#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDirectory.h"
#include "platform/Utf8.h"

namespace {

std::optional<unsigned> CodePageNumber(const std::string& text) {
    const std::optional<int> value = ScanInt(text);
    if (!value || *value <= 0 || FormatInt(*value) != text)
        return std::nullopt;
    return static_cast<unsigned>(*value);
}

unsigned AvailableCodePage(const std::string& text, std::string_view source, Language language) {
    const ToolTexts& texts = TextsIn(language);
    const std::optional<unsigned> codePage = CodePageNumber(text);
    if (!codePage)
        throw UsageError{Fill(texts.needsCodePageNumber, {source, text})};
    if (!IsCodePageAvailable(*codePage))
        throw UsageError{Fill(texts.codePageNotAvailable, {source, text})};
    return *codePage;
}

}  // namespace

unsigned HeaderCodePage(const std::string& option, const std::optional<std::wstring>& variable,
                        Language language) {
    if (!option.empty())
        return AvailableCodePage(option, "--codepage", language);
    if (variable && !variable->empty())
        return AvailableCodePage(ToUtf8(*variable), "TZR_CODEPAGE", language);
    return AnsiCodePage();
}

std::optional<unsigned> TableCodePage(const std::string& option, unsigned headerCodePage,
                                      Language language) {
    const std::string name = AsciiLowercase(option);
    if (name.empty())
        return std::nullopt;
    if (name == "utf-8" || name == "utf8")
        return kUtf8CodePage;
    if (name == "ansi")
        return headerCodePage;
    if (!CodePageNumber(name))
        throw UsageError{Fill(TextsIn(language).badEncoding, {option})};
    return AvailableCodePage(name, "--encoding", language);
}

AntennaCatalogue LoadCatalogue(const std::wstring& path, unsigned codePage) {
    AntennaCatalogue catalogue;
    if (!path.empty()) {
        if (std::optional<std::string> reason = UnreadableReason(path))
            throw UsageError{ToUtf8(path) + ": " + *reason, false};
        catalogue.ReadFromFile(path, codePage);
        catalogue.path = path;
        return catalogue;
    }
    const std::wstring besideProgram =
        GetProgramDirectory() + std::wstring(AntennaCatalogue::kFileName);
    if (SystemFileSystem().Exists(besideProgram)) {
        catalogue.ReadFromFile(besideProgram, codePage);
        catalogue.path = besideProgram;
    } else {
        catalogue.UseDefaultList();
    }
    return catalogue;
}
