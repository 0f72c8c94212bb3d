#pragma once

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
inline RunResult RunTool(const std::vector<std::wstring>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunTzrhdr(args, out, err);
    return {status, out.str(), err.str()};
}
