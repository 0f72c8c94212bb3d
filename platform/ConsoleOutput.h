#pragma once

#include <memory>
#include <streambuf>

// A stream buffer for UTF-8 text bound for a standard handle. A console gets the text as wide
// characters through WriteConsoleW, so that it shows right whatever the console's code page, and
// line by line; a file or a pipe gets the UTF-8 bytes as they are, line by line when
// `lineByLine` asks for it (standard error, so that it interleaves with standard output).
std::unique_ptr<std::streambuf> OutputBufferFor(void* handle, bool lineByLine);
