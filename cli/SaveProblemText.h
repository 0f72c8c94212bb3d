#pragma once

#include <string>

#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"

// Why tzrhdr did not write a file, in English, naming the field as its option does.
std::string ValueProblemText(const ValueProblem& problem);
std::string RefusalText(RewriteRefusal refusal, const std::wstring& systemError);
