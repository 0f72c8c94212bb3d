#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// Lets files be dropped on the window from Explorer, which runs without the administrator rights
// that this program has, so that the system would otherwise drop the messages of a drop.
void AcceptDroppedFiles(HWND window);
// The paths of files and folders dropped from Explorer; the drop is finished with.
std::vector<std::wstring> TakeDroppedFiles(HDROP drop);
