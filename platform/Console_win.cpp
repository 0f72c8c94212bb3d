#include "platform/Console.h"

#include <windows.h>

// A console, not any character device: NUL is one too.
bool IsStandardErrorTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}
