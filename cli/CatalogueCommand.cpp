#include "cli/CatalogueCommand.h"

#include "cli/Json.h"

int RunCatalogue(const AntennaCatalogue& catalogue, bool json, std::ostream& out) {
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
    out << catalogue.count << " antennas from "
        << (catalogue.path.empty() ? "the built-in list" : ToUtf8(catalogue.path)) << "\n";
    for (int i = 0; i < catalogue.count; ++i) {
        const AntennaEntry& entry = catalogue.entries[i];
        out << "  " << i << "\t" << JsonString(entry.name) << "\t" << ToUtf8(entry.values[0]) << " "
            << ToUtf8(entry.values[1]) << " " << ToUtf8(entry.values[2]) << "\n";
    }
    return 0;
}
