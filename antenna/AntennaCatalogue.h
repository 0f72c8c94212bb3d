#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct AntennaEntry {
    std::wstring name;
    // Offsets kept exactly as the file gives them; nothing here interprets them.
    std::array<std::wstring, 3> values;
};

// A record of the catalogue file that is not as the catalogue expects it. The dialog reads such
// a file all the same, as older versions did; a tool can point the user at the line.
struct CatalogueFault {
    enum class Kind {
        // Fewer than four lines follow "[ANTENNA]"; the missing texts keep what they held.
        ShortRecord,
        // A line after the fourth of its record, which is ignored.
        ExtraLine,
        // A record after the hundredth, which is ignored.
        BeyondCapacity,
    };
    Kind kind;
    // The line of the file, counted from 1: the record's "[ANTENNA]" line, or the extra line.
    size_t line;
    // Of a short record: how many lines it has.
    int lines = 0;

    bool operator==(const CatalogueFault&) const = default;
};

// The antenna types offered in the editor, in file order; an entry's position is the antenna
// type index of a station header.
struct AntennaCatalogue {
    static constexpr int kCapacity = 100;
    static constexpr std::wstring_view kFileName = L"TzrManagerAnt.ini";

    std::wstring path;
    std::array<AntennaEntry, kCapacity> entries;
    int count = 0;
    // What the last read found amiss, in file order.
    std::vector<CatalogueFault> faults;

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
