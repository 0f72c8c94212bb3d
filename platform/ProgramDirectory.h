#pragma once

#include <string>

// The full path of the running program's file; empty when the system cannot tell it.
std::wstring GetProgramPath();

// The directory of the running program's file, with its trailing separator; empty when the
// path has no separator.
std::wstring GetProgramDirectory();
