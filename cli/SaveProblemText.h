#pragma once

#include <string>

#include "cli/ToolTexts.h"
#include "header/FieldTable.h"
#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"

// Why tzrhdr did not write a file, naming the field as its option does.
std::string ValueProblemText(const ValueProblem& problem, Language language);

// Why a write did not go through, or stopped: its refusal, else the system's reason. It says
// nothing of what is on disk, which the outcome tells.
std::string RewriteReason(const RewriteOutcome& written, Language language);

// Why a value given for a field cannot be taken.
std::string FieldProblemText(const FieldValueProblem& problem, Language language);
