#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ToolTexts.h"
#include "header/HeaderReader.h"
#include "header/StationHeader.h"

// Why a file cannot be read, in the system's words on one line; nothing when it can.
std::optional<std::string> UnreadableReason(const std::wstring& path);

// Why the reader did not take the record: the system's reason when the file cannot be read,
// else what the reader said. Nothing when the record was taken.
std::optional<ReadFailure> ReadFailureOf(const std::wstring& path, const StationHeader& header,
                                         const std::vector<ReaderMessage>& messages);

// The message's code in JSON records: "no-date".
std::string_view ReaderMessageCode(ReaderMessage message);

// A message of the reader in the tool's words.
std::string ReaderMessageText(ReaderMessage message, Language language);

// The failure on one line.
std::string ReadFailureText(const ReadFailure& failure, Language language);

// Why the reader did not take the record, on one line; empty when it was taken.
std::string ReadProblem(const std::wstring& path, const StationHeader& header,
                        const std::vector<ReaderMessage>& messages,
                        Language language = Language::English);

// The first line of a text the system gave for a failure: its reason, without the file name.
std::string FirstLineOf(const std::wstring& systemText);

// Why the journal cannot be written, from the system's text: the journal's path and the reason,
// on one line.
std::string JournalProblemText(const std::wstring& systemText);
