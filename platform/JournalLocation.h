#pragma once

#include <optional>
#include <string>

// Where this user's journal of batch edits lives by default; nothing when the system names no
// folder for per-user program state.
std::optional<std::wstring> DefaultJournalPath();
