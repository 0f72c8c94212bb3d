#pragma once

#include <optional>
#include <string>
#include <vector>

#include "header/StationHeader.h"

// Why a file cannot be read, in the system's words on one line; nothing when it can.
std::optional<std::string> UnreadableReason(const std::wstring& path);

// Why the reader did not take the record, in English: the system's reason when the file cannot
// be read, else what the reader's messages say. Empty when the record was taken.
std::string ReadProblem(const std::wstring& path, const StationHeader& header,
                        const std::vector<std::wstring>& messages);

// The first line of a text the system gave for a failure: its reason, without the file name.
std::string FirstLineOf(const std::wstring& systemText);

// A message of the reader in English, for lines on standard error; the dialog's texts stay in
// JSON records.
std::string InEnglish(const std::wstring& readerMessage);

// Why the journal cannot be written, from the system's text: the journal's path and the reason,
// on one line.
std::string JournalProblemText(const std::wstring& systemText);
