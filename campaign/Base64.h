#pragma once

#include <optional>
#include <string>
#include <string_view>

// Bytes as base64 text (RFC 4648, padded), so that any header region fits in a JSON string.
std::string ToBase64(std::string_view bytes);

// The bytes again; nothing when the text is not padded base64.
std::optional<std::string> FromBase64(std::string_view text);
