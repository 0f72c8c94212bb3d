#pragma once

#include <optional>
#include <string>
#include <vector>

#include "campaign/Findings.h"
#include "header/HeaderReader.h"
#include "header/StationHeader.h"
#include "platform/FileSystem.h"

// The system's reason when the file cannot be read at all; nothing when it can.
std::optional<std::wstring> SystemReadReason(FileSystem& files, const std::wstring& path);

// Why the reader did not take the record: the system's reason when the file cannot be read,
// else what the reader said. Nothing when the record was taken.
std::optional<ReadFailure> ReadFailureOf(FileSystem& files, const std::wstring& path,
                                         const StationHeader& header,
                                         const std::vector<ReaderMessage>& messages);

// Reads a raw file as check and the campaign window take it: its record, or why not.
CheckedFile ReadCheckedFile(FileSystem& files, const std::wstring& path,
                            const AntennaCatalogue& catalogue, const HeaderReadOptions& options);
