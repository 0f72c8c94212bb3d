#include "platform/Console.h"

#include <io.h>

#include <cstdio>

bool IsStandardErrorTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}
