#include "cli/CatalogueCommand.h"

#include "cli/Json.h"

namespace {

std::string FaultText(const CatalogueFault& fault, const ToolTexts& texts) {
    switch (fault.kind) {
        case CatalogueFault::Kind::ShortRecord:
            return Fill(texts.recordTooShort, {std::to_string(fault.lines)});
        case CatalogueFault::Kind::ExtraLine:
            return std::string(texts.fieldLineTooMany);
        case CatalogueFault::Kind::BeyondCapacity:
            return std::string(texts.recordBeyondCapacity);
    }
    return {};
}

}  // namespace

int RunCatalogue(const AntennaCatalogue& catalogue, bool json, Language language, std::ostream& out,
                 std::ostream& err) {
    const ToolTexts& texts = TextsIn(language);
    for (const CatalogueFault& fault : catalogue.faults)
        err << "tzrhdr: " << ToUtf8(catalogue.path) << ":" << fault.line << ": "
            << FaultText(fault, texts) << "\n";
    if (json) {
        out << "{\"path\": " << (catalogue.path.empty() ? "null" : JsonString(catalogue.path))
            << ", \"count\": " << catalogue.count << ", \"entries\": [";
        for (int i = 0; i < catalogue.count; ++i) {
            const AntennaEntry& entry = catalogue.entries[i];
            out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(entry.name)
                << ", \"values\": [" << JsonString(entry.values[0]) << ", "
                << JsonString(entry.values[1]) << ", " << JsonString(entry.values[2]) << "]}";
        }
        out << "]}\n";
        return 0;
    }
    out << Fill(texts.antennasFrom,
                {std::to_string(catalogue.count),
                 catalogue.path.empty() ? std::string(texts.builtInList) : ToUtf8(catalogue.path)})
        << "\n";
    for (int i = 0; i < catalogue.count; ++i) {
        const AntennaEntry& entry = catalogue.entries[i];
        out << "  " << i << "\t" << JsonString(entry.name) << "\t" << ToUtf8(entry.values[0]) << " "
            << ToUtf8(entry.values[1]) << " " << ToUtf8(entry.values[2]) << "\n";
    }
    return 0;
}
