#pragma once

#include <string>

#include "campaign/Campaign.h"
#include "campaign/Findings.h"
#include "cli/ToolTexts.h"

// A row of the campaign table `table`: "row 2 (ABCD123A.TZR)".
std::string TableRowText(const Campaign& table, int row, Language language);

// What a finding says, naming rows of the field log `log` (null when there is none).
std::string FindingMessage(const Finding& finding, const Campaign* log, Language language);
