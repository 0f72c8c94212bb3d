#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Tzrhdr.h"

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

// Runs the tzrhdr command line in this process and keeps what it printed.
inline RunResult RunTool(const std::vector<std::wstring>& args,
                         std::optional<std::wstring> codePageVariable = std::nullopt,
                         std::string language = {}) {
    std::ostringstream out;
    std::ostringstream err;
    ToolEnvironment environment;
    environment.version = "9.8.7.6";
    environment.codePageVariable = std::move(codePageVariable);
    environment.language = std::move(language);
    const int status = RunTzrhdr(args, out, err, environment);
    return {status, out.str(), err.str()};
}
