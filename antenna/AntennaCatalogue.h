#pragma once

#include <array>
#include <string>
#include <string_view>

struct AntennaEntry {
    std::wstring name;
    // Offsets kept exactly as the file gives them; nothing here interprets them.
    std::array<std::wstring, 3> values;
};

// The antenna types offered in the editor, in file order; an entry's position is the antenna
// type index of a station header.
struct AntennaCatalogue {
    static constexpr int kCapacity = 100;
    static constexpr std::wstring_view kFileName = L"TzrManagerAnt.ini";

    std::wstring path;
    std::array<AntennaEntry, kCapacity> entries;
    int count = 0;

    // Catalogue text is 8-bit text in `codePage` (0: the system's ANSI code page), like header
    // text, so that a name written in the user's language matches the same name in a header.

    // Reads the catalogue beside the program, creating it from the built-in list when missing.
    void Load(unsigned codePage = 0);
    void WriteDefaultFile(const std::wstring& filePath) const;
    // A file that cannot be read gives an empty catalogue.
    void ReadFromFile(const std::wstring& filePath, unsigned codePage = 0);
    // Parses catalogue text. Texts of a short record keep what an earlier read left in them.
    void ReadFromText(std::string_view bytes, unsigned codePage = 0);
    // The built-in list, without touching any file.
    void UseDefaultList();
    // The first entry of exactly this name, or -1.
    int IndexOfName(std::wstring_view name) const;
    // The last entry of exactly this name, or -1.
    int LastIndexOfName(std::wstring_view name) const;
};
