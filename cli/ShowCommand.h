#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "cli/ToolTexts.h"

enum class RecordFormat { Text, Json, Csv };

struct ShowRequest {
    std::vector<std::wstring> files;
    RecordFormat format = RecordFormat::Text;
    // Header text is read in this code page.
    unsigned codePage = 0;
    // A CSV table is written in this code page.
    unsigned csvCodePage = 0;
    Language language = Language::English;
};

// Reads each file as the editor does when it starts and prints its record; a file that cannot be
// read gets one line on `err` (and, as JSON, its record with the dialog's messages and their
// codes). Returns 0
// when every file was read, 1 otherwise.
int RunShow(const ShowRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
            std::ostream& err);
