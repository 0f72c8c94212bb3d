#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "campaign/Campaign.h"

// Reads the campaign table at `path`: in `tableCodePage` when --encoding names one, else as
// UTF-8 when it is, else in the header code page. Says on `err` which columns are ignored and
// when a Western code page probably garbled Chinese text. Throws UsageError when the table
// cannot be read or used.
Campaign LoadCampaignFile(const std::wstring& path, std::optional<unsigned> tableCodePage,
                          unsigned headerCodePage, std::ostream& err);
