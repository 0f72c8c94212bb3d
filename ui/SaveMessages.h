#pragma once

#include <string>

#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"

// What the editor tells the user when a save cannot write what it was given.
std::wstring ValueProblemText(const ValueProblem& problem);
std::wstring LostCharactersQuestion(const ValueProblem& problem);
// A save that wrote its header but could not finish: what the disk holds now.
std::wstring PartlySavedText(OnDisk onDisk, const std::wstring& path, const std::wstring& newPath);
std::wstring RefusalText(RewriteRefusal refusal, const std::wstring& path,
                         const std::wstring& newPath);
