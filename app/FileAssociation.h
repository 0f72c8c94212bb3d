#pragma once

#include <windows.h>

#include <string>

// Makes this program the one that opens ".TZR" files; failures are silent and change nothing
// else.
void RegisterFileAssociation(HKEY root = HKEY_CLASSES_ROOT);

// Writes the "TZRfile" type's description, icon and open command; false when one of its keys
// can be neither opened nor created.
bool WriteFileTypeKeys(const std::wstring& modulePath, HKEY root = HKEY_CLASSES_ROOT);
