#pragma once

#include <optional>
#include <string>

#include "antenna/AntennaCatalogue.h"
#include "cli/ToolTexts.h"

// Stops a command before it has read or written any raw file; the message becomes one line
// after "tzrhdr: ", followed by a pointer to --help when the command line itself is wrong.
struct UsageError {
    std::string message;
    bool helpHint = true;
};

// The code page header text is read and written in: --codepage when given (its text), else
// the TZR_CODEPAGE variable when set, else the system's ANSI code page.
unsigned HeaderCodePage(const std::string& option, const std::optional<std::wstring>& variable,
                        Language language);

// The code page that --encoding names: "utf-8", "ansi" (the header code page) or a number;
// nothing when the option is empty.
std::optional<unsigned> TableCodePage(const std::string& option, unsigned headerCodePage,
                                      Language language);

// The catalogue the dialog would use, except that tzrhdr never creates the file: `path` when
// not empty, else TzrManagerAnt.ini beside the program, else the built-in list. Its names are
// read in the header code page, so that they match the names headers hold.
AntennaCatalogue LoadCatalogue(const std::wstring& path, unsigned codePage);
