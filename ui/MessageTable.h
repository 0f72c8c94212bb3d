#pragma once

#include <string>

#include "header/HeaderReader.h"
#include "header/RawFileRewrite.h"
#include "header/ValueCheck.h"
#include "ui/MessageIcon.h"

// The editor's own words for what the core reports.

// What a read tells the user; `path` is the file read.
std::wstring ReaderMessageText(ReaderMessage message, const std::wstring& path);
MessageIcon ReaderMessageIcon(ReaderMessage message);

// What a save tells the user when it cannot write what it was given.
std::wstring ValueProblemText(const ValueProblem& problem);
std::wstring LostCharactersQuestion(const ValueProblem& problem);
// A save that wrote its header but could not finish: what the disk holds now.
std::wstring PartlySavedText(OnDisk onDisk, const std::wstring& path, const std::wstring& newPath);
std::wstring RefusalText(RewriteRefusal refusal, const std::wstring& path,
                         const std::wstring& newPath);
// The same without the file's name, for a place that names the file already.
std::wstring RefusalReason(RewriteRefusal refusal);
