#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/Tzrhdr.h"
#include "platform/Console.h"

int wmain(int argc, wchar_t** argv) {
    // Output is UTF-8 bytes: no CR LF translation, and a console that shows them as UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    return RunTzrhdr(args, std::cout, std::cerr, IsStandardErrorTerminal());
}
