#include <cstdlib>
#include <iostream>

#include "cli/Tzrhdr.h"
#include "platform/CodePage.h"
#include "platform/Console.h"
#include "platform/JournalLocation.h"
#include "platform/NativePath.h"
#include "platform/UserLanguage.h"

int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(PathFromNative(argv[i]));
    ToolEnvironment environment;
    environment.version = TZR_VERSION;
    environment.errIsTerminal = IsStandardErrorTerminal();
    environment.journalPath = DefaultJournalPath().value_or(L"");
    environment.language = UserLanguage();
    if (const char* codePage = std::getenv("TZR_CODEPAGE"))
        environment.codePageVariable = MultiByteToUnicodeString(codePage, kUtf8CodePage);
    return RunTzrhdr(args, std::cout, std::cerr, environment);
}
