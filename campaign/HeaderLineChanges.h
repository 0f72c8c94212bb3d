#pragma once

#include <optional>
#include <string>
#include <vector>

// A line of a new header beside the line the file holds for the same key.
struct HeaderLineChange {
    // Nothing when the file holds no line of that key.
    std::optional<std::wstring> before;
    std::wstring after;
};

// The lines of `newHeader` that differ from what `fileStart` holds for the same key, decoded in
// `codePage`, in the order of the new header.
std::vector<HeaderLineChange> HeaderLineChanges(const std::string& fileStart,
                                                const std::string& newHeader, unsigned codePage);
