#pragma once

#include <string>

#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"

// Why tzrhdr did not write a file, in English, naming the field as its option does.
std::string ValueProblemInEnglish(const ValueProblem& problem);
std::string RefusalInEnglish(RewriteRefusal refusal, const std::wstring& systemError);
