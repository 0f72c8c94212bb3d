#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/Tzrhdr.h"
#include "platform/Console.h"
#include "platform/JournalLocation.h"
#include "platform/UserLanguage.h"

int wmain(int argc, wchar_t** argv) {
    // Output is UTF-8 bytes: no CR LF translation, and a console that shows them as UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ToolEnvironment environment;
    environment.version = TZR_VERSION;
    environment.errIsTerminal = IsStandardErrorTerminal();
    environment.journalPath = DefaultJournalPath().value_or(L"");
    environment.language = UserLanguage();
    if (const wchar_t* codePage = _wgetenv(L"TZR_CODEPAGE"))
        environment.codePageVariable = codePage;
    return RunTzrhdr(args, std::cout, std::cerr, environment);
}
