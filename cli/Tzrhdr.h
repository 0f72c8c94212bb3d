#pragma once

#include <ostream>
#include <string>
#include <vector>

// The tzrhdr command line: `args` without the program name; `out` and `err` take UTF-8. A
// progress line is drawn on `err` only when it is a terminal. Returns the process exit status.
int RunTzrhdr(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal = false);
