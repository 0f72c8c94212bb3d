#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "antenna/AntennaCatalogue.h"
#include "campaign/FileList.h"
#include "cli/ToolTexts.h"

struct CheckRequest {
    FileList files;
    // The field log the files are compared with.
    std::optional<std::wstring> campaignPath;
    // The field log's code page when --encoding names it.
    std::optional<unsigned> campaignCodePage;
    // Header text is read in this code page.
    unsigned codePage = 0;
    bool json = false;
    Language language = Language::English;
};

// Reads each file as the editor does and prints one line per finding, the files in the order
// given, then a summary on `err`. Returns 0 when there is no finding, 1 otherwise; throws
// UsageError when the field log cannot be used.
int RunCheck(const CheckRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
             std::ostream& err);
