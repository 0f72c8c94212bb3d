#pragma once

#include <string>

// The directory of the running program's file, with its trailing separator; empty when the
// path has no separator.
std::wstring GetProgramDirectory();
