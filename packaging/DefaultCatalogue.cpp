// Writes the catalogue file that the program creates beside itself when it finds none. The
// uninstaller compares the installed catalogue with it: one that differs was edited and stays.
#include "antenna/DefaultAntennaList.h"
#include "platform/FileSystem.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    return WriteNewFile(argv[1], DefaultCatalogueFileText()) ? 0 : 1;
}
