#pragma once

#include <string>
#include <string_view>

#include "header/FieldTable.h"
#include "platform/Utf8.h"

// JSON text pieces; strings are UTF-8.
std::string JsonString(std::string_view utf8);
std::string JsonString(std::wstring_view text);
// The shortest form that reads back to the same float; null for infinities and NaN.
std::string JsonNumber(float value);
std::string JsonNumber(double value);
std::string JsonNumber(int value);
std::string JsonBool(bool value);
// A value as a field prints it: numbers bare (null when not finite), texts quoted.
std::string JsonFieldValue(const RecordField& field, std::wstring_view printed);
