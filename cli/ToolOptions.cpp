#include "cli/ToolOptions.h"

#include "cli/ReadProblem.h"
#include "platform/Utf8.h"
#include "header/CLocaleNumbers.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDirectory.h"

namespace {

std::optional<unsigned> CodePageNumber(const std::string& text) {
    const std::optional<int> value = ScanInt(text);
    if (!value || *value <= 0 || FormatInt(*value) != text)
        return std::nullopt;
    return static_cast<unsigned>(*value);
}

unsigned AvailableCodePage(const std::string& text, const std::string& source) {
    const std::optional<unsigned> codePage = CodePageNumber(text);
    if (!codePage)
        throw UsageError{source + " needs a code page number, not \"" + text + "\""};
    if (!IsCodePageAvailable(*codePage))
        throw UsageError{source + ": code page " + text + " is not available on this system"};
    return *codePage;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

unsigned HeaderCodePage(const std::string& option, const std::optional<std::wstring>& variable) {
    if (!option.empty())
        return AvailableCodePage(option, "--codepage");
    if (variable && !variable->empty())
        return AvailableCodePage(ToUtf8(*variable), "TZR_CODEPAGE");
    return AnsiCodePage();
}

std::optional<unsigned> TableCodePage(const std::string& option, unsigned headerCodePage) {
    const std::string name = Lower(option);
    if (name.empty())
        return std::nullopt;
    if (name == "utf-8" || name == "utf8")
        return kUtf8CodePage;
    if (name == "ansi")
        return headerCodePage;
    if (!CodePageNumber(name))
        throw UsageError{"--encoding is utf-8, ansi or a code page number, not \"" + option + "\""};
    return AvailableCodePage(name, "--encoding");
}

AntennaCatalogue LoadCatalogue(const std::wstring& path) {
    AntennaCatalogue catalogue;
    if (!path.empty()) {
        if (std::optional<std::string> reason = UnreadableReason(path))
            throw UsageError{ToUtf8(path) + ": " + *reason, false};
        catalogue.ReadFromFile(path);
        catalogue.path = path;
        return catalogue;
    }
    const std::wstring besideProgram =
        GetProgramDirectory() + std::wstring(AntennaCatalogue::kFileName);
    if (SystemFileSystem().Exists(besideProgram)) {
        catalogue.ReadFromFile(besideProgram);
        catalogue.path = besideProgram;
    } else {
        catalogue.UseDefaultList();
    }
    return catalogue;
}
