#include "platform/Console.h"

#include <unistd.h>

bool IsStandardErrorTerminal() {
    return isatty(STDERR_FILENO) != 0;
}
