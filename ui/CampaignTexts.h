#pragma once

#include <string>
#include <string_view>

#include "campaign/CampaignLoad.h"
#include "campaign/CampaignSheet.h"
#include "campaign/Findings.h"
#include "campaign/Journal.h"
#include "campaign/SetBatch.h"
#include "campaign/UndoBatch.h"
#include "header/HeaderReader.h"

// The campaign window's words for what the core reports.

// A column's heading: "文件", the field as the editor labels it, "发现".
std::wstring ColumnTitle(size_t column);
// The field as the editor labels it, by its field-table name.
std::wstring FieldLabel(std::string_view field);

// Why a file was not read, in the editor's words.
std::wstring UnreadableText(const ReadFailure& failure);
// What a finding means for its file.
std::wstring FindingText(const Finding& finding);
// Why a cell does not take the value it was given.
std::wstring CellRefusalText(const CellRefusal& refusal);

// One file of a save, planned or done: what changes, where it goes, or why it is left alone.
std::wstring SetFileText(const std::wstring& path, const SetFileResult& result, bool planned);
// Why a file of a save was not written, or written with a problem; empty when it was not.
std::wstring SaveProblemText(const SetFileResult& result);
// The numbers of a save, planned or done.
std::wstring SetSummaryText(const SetBatchResult& result, bool planned);
// Why the journal refused a save; then nothing was written.
std::wstring JournalRefusalText(JournalRefusal refusal, const std::wstring& error);

// Why a field log cannot be used, with its line.
std::wstring TableErrorText(const TableError& error);

// A batch of the journal as `tzrhdr undo --list` shows it.
std::wstring BatchLine(const BatchSummary& batch);
// One file of an undo that went wrong or was left alone; empty for one taken back.
std::wstring UndoProblemText(const UndoFileResult& result);
std::wstring UndoSummaryText(const std::string& batchId, const UndoBatchResult& result);
