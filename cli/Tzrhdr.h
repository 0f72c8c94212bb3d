#pragma once

#include "platform/FileSystem.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What tzrhdr takes from the process it runs in besides its arguments.
struct ToolEnvironment {
    std::string version = "(development build)";
    // A progress line is drawn on standard error only when it is a terminal.
    bool errIsTerminal = false;
    // The TZR_CODEPAGE variable, when set.
    std::optional<std::wstring> codePageVariable;
    // The journal that set and undo use unless --journal names another: the user's own; empty
    // when the system names no place for it.
    std::wstring journalPath;
    // What set and undo write raw files and the journal through; the system's when not given.
    FileSystem* files = nullptr;
    // The language the system speaks to the user ("zh", "en"): tzrhdr speaks Chinese when it is
    // Chinese, else English, unless --lang says otherwise.
    std::string language;
};

// The tzrhdr command line: `args` without the program name; `out` and `err` take UTF-8 (CSV
// output in the code page it names). Returns the process exit status.
int RunTzrhdr(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err,
              const ToolEnvironment& environment = {});
