#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/FieldEdits.h"
#include "campaign/FileList.h"
#include "campaign/Journal.h"
#include "cli/ToolTexts.h"

struct SetRequest {
    FileList files;
    // Taken into every file.
    FieldValues edits;
    std::optional<std::wstring> campaignPath;
    // The campaign table's code page when --encoding names it.
    std::optional<unsigned> campaignCodePage;
    bool replace = false;
    bool dryRun = false;
    bool json = false;
    // Header text is read and written in this code page.
    unsigned codePage = 0;
    bool showProgress = false;
    // The language of the report; JSON keys and status words stay the same in every one.
    Language language = Language::English;
    // Where each write is recorded first; nothing for none.
    std::optional<JournalTarget> journal;
    FileSystem* fileSystem = &SystemFileSystem();
};

// Edits each file as the editor's Save would after the same edits, and reports what happened.
// Every new name is worked out before any file is written, and a file whose new name clashes
// with another file of the batch is refused. A failure never stops the other files. Returns 0
// when no file failed, 1 otherwise (so when the journal cannot be written and nothing is); throws
// UsageError when the campaign table cannot be used.
int RunSet(SetRequest request, const AntennaCatalogue& catalogue, std::ostream& out,
           std::ostream& err);
