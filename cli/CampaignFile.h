#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "campaign/Campaign.h"
#include "campaign/CampaignLoad.h"
#include "campaign/CampaignMatch.h"
#include "cli/ToolTexts.h"

// Reads the campaign table at `path`: in `tableCodePage` when --encoding names one, else as
// UTF-8 when it is, else in the header code page. Says on `err` which columns are ignored and
// when a Western code page probably garbled Chinese text. Throws UsageError when the table
// cannot be read or used.
Campaign LoadCampaignFile(const std::wstring& path, std::optional<unsigned> tableCodePage,
                          unsigned headerCodePage, Language language, std::ostream& err);

// Why a table cannot be used, naming its line.
std::string TableErrorText(const TableError& error, unsigned codePage, Language language);

// One line on `err` per column whose cells were taken for spreadsheet damage.
void ReportSpreadsheetDamage(const std::wstring& path, const CampaignMatch& match,
                             Language language, std::ostream& err);
