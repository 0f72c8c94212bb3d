#include "antenna/AntennaCatalogue.h"

#include <algorithm>

#include "antenna/DefaultAntennaList.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDirectory.h"

namespace {

constexpr int kFieldsPerRecord = 4;

// The next line without its CR LF or LF; a lone CR stays in the line.
std::string_view NextLine(std::string_view& rest) {
    const size_t lineFeed = rest.find('\n');
    std::string_view line = rest.substr(0, lineFeed);
    rest.remove_prefix(lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1);
    if (lineFeed != std::string_view::npos && !line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

}  // namespace

void AntennaCatalogue::Load(unsigned codePage) {
    path = GetProgramDirectory() + std::wstring(kFileName);
    if (!SystemFileSystem().Exists(path))
        WriteDefaultFile(path);
    ReadFromFile(path, codePage);
}

void AntennaCatalogue::WriteDefaultFile(const std::wstring& filePath) const {
    WriteNewFile(filePath, DefaultCatalogueFileText());
}

void AntennaCatalogue::ReadFromFile(const std::wstring& filePath, unsigned codePage) {
    const std::optional<std::string> bytes = ReadFileBytes(filePath);
    if (!bytes) {
        count = 0;
        faults.clear();
        return;
    }
    ReadFromText(*bytes, codePage);
}

void AntennaCatalogue::ReadFromText(std::string_view bytes, unsigned codePage) {
    faults.clear();
    int record = -1;
    int field = 0;
    size_t recordLine = 0;
    const auto checkRecordEnd = [&] {
        if (record >= 0 && record < kCapacity && field < kFieldsPerRecord)
            faults.push_back({CatalogueFault::Kind::ShortRecord, recordLine, field});
    };
    for (size_t lineNumber = 1; !bytes.empty(); ++lineNumber) {
        const std::string_view line = NextLine(bytes);
        if (line.find("[END]") != std::string_view::npos)
            break;
        if (line == "[ANTENNA]") {
            checkRecordEnd();
            ++record;
            field = 0;
            recordLine = lineNumber;
            if (record >= kCapacity)
                faults.push_back({CatalogueFault::Kind::BeyondCapacity, lineNumber});
            continue;
        }
        if (record < 0 || record >= kCapacity)
            continue;
        if (field >= kFieldsPerRecord) {
            faults.push_back({CatalogueFault::Kind::ExtraLine, lineNumber});
            continue;
        }
        AntennaEntry& entry = entries[record];
        std::wstring& text = field == 0 ? entry.name : entry.values[field - 1];
        text = MultiByteToUnicodeString(line, codePage != 0 ? codePage : AnsiCodePage());
        ++field;
    }
    checkRecordEnd();
    count = std::min(record + 1, kCapacity);
}

void AntennaCatalogue::UseDefaultList() {
    path.clear();
    ReadFromText(DefaultCatalogueFileText());
}

int AntennaCatalogue::LastIndexOfName(std::wstring_view name) const {
    for (int i = count - 1; i >= 0; --i) {
        if (entries[i].name == name)
            return i;
    }
    return -1;
}

int AntennaCatalogue::IndexOfName(std::wstring_view name) const {
    for (int i = 0; i < count; ++i) {
        if (entries[i].name == name)
            return i;
    }
    return -1;
}
