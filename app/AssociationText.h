#pragma once

#include <string>

// The values the ".TZR" association stores for a program at `modulePath`: the icon file beside
// the program, and the command that opens a raw file with it.
std::wstring AssociationIconPath(const std::wstring& modulePath);
std::wstring AssociationCommand(const std::wstring& modulePath);
