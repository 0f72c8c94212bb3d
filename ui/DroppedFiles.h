#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The paths of files and folders dropped from Explorer; the drop is finished with.
std::vector<std::wstring> TakeDroppedFiles(HDROP drop);
