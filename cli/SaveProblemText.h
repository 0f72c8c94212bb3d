#pragma once

#include <string>

#include "cli/ToolTexts.h"
#include "header/FieldTable.h"
#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"

// Why tzrhdr did not write a file, naming the field as its option does.
std::string ValueProblemText(const ValueProblem& problem, Language language);
std::string RefusalReason(RewriteRefusal refusal, const std::wstring& systemError,
                          Language language);

// Why a value given for a field cannot be taken.
std::string FieldProblemText(const FieldValueProblem& problem, Language language);
