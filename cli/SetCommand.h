#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "cli/FieldEdits.h"

struct SetRequest {
    std::vector<std::wstring> files;
    FieldEdits edits;
    std::optional<std::wstring> campaignPath;
    bool replace = false;
    bool dryRun = false;
    unsigned codePage = 0;
    bool showProgress = false;
};

// Edits each file as the editor's Save would after the same edits, and reports what happened.
// Returns 0 when no file failed, 1 otherwise; a failure never stops the other files.
int RunSet(const SetRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err);
