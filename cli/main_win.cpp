#include <windows.h>

#include <cstdlib>
#include <memory>
#include <ostream>

#include "cli/Tzrhdr.h"
#include "platform/Console.h"
#include "platform/ConsoleOutput.h"
#include "platform/JournalLocation.h"
#include "platform/UserLanguage.h"

int wmain(int argc, wchar_t** argv) {
    // UTF-8 to files and pipes; a console shows the same text whatever its code page, which is
    // left as the user set it.
    const std::unique_ptr<std::streambuf> outBuffer =
        OutputBufferFor(GetStdHandle(STD_OUTPUT_HANDLE), false);
    const std::unique_ptr<std::streambuf> errBuffer =
        OutputBufferFor(GetStdHandle(STD_ERROR_HANDLE), true);
    std::ostream out(outBuffer.get());
    std::ostream err(errBuffer.get());
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ToolEnvironment environment;
    environment.version = TZR_VERSION;
    environment.errIsTerminal = IsStandardErrorTerminal();
    environment.journalPath = DefaultJournalPath().value_or(L"");
    environment.language = UserLanguage();
    if (const wchar_t* codePage = _wgetenv(L"TZR_CODEPAGE"))
        environment.codePageVariable = codePage;
    return RunTzrhdr(args, out, err, environment);
}
