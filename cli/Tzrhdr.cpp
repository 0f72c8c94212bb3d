#include "cli/Tzrhdr.h"

#include <optional>
#include <string_view>
#include <utility>

#include "antenna/AntennaCatalogue.h"
#include "cli/CollectingOwner.h"
#include "cli/Csv.h"
#include "cli/FieldEdits.h"
#include "cli/Json.h"
#include "cli/SetCommand.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderReader.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDirectory.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitReadFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "usage: tzrhdr show [--json | --csv] [--codepage N] [--catalogue PATH] FILE...\n"
    "       tzrhdr set [FIELD OPTIONS] [--from CAMPAIGN.csv] [--replace] [--dry-run]\n"
    "                  [--codepage N] [--catalogue PATH] FILE...\n"
    "       tzrhdr catalogue [--json] [--catalogue PATH]\n"
    "\n"
    "show       reads each raw file's header as TZR Data Manager does and prints it\n"
    "set        corrects each raw file's header as TZR Data Manager's Save does, and renames\n"
    "           the file after its station\n"
    "catalogue  prints the antenna catalogue\n"
    "\n"
    "--json           one JSON object per file (or for the catalogue), one per line\n"
    "--csv            one CSV row per file, after a row of column names\n"
    "\n"
    "Field options of set (fields not named keep what the file holds):\n"
    "  --station NAME  --station-code TEXT  --antenna-height METRES  --antenna-type NAME\n"
    "  --antenna-number TEXT  --measure-to 0..3|LABEL  --receiver-number TEXT\n"
    "  --receiver-type TEXT  --receiver-version TEXT  --x N  --y N  --z N\n"
    "--from CSV       a campaign table: a \"file\" or \"current-station\" column to find each\n"
    "                 file's row, and one column per field named as the options above\n"
    "--replace        replace a file that already has the new name\n"
    "--dry-run        print the header lines that would change and the renames; write nothing\n"
    "--codepage N     read header text in code page N instead of the system's ANSI code page\n"
    "--catalogue PATH use this antenna catalogue instead of TzrManagerAnt.ini beside tzrhdr\n"
    "                 (or the built-in list when there is none); it is never written\n"
    "\n"
    "Exit status: 0 when every file was read (or edited) completely, 1 when one was not,\n"
    "2 on bad usage.\n";

struct Options {
    std::wstring command;
    bool json = false;
    bool csv = false;
    unsigned codePage = 0;
    std::optional<std::wstring> cataloguePath;
    std::vector<std::wstring> files;
    // Field options of set, checked once the catalogue is known.
    std::vector<std::pair<std::string, std::wstring>> fields;
    std::optional<std::wstring> campaignPath;
    bool replace = false;
    bool dryRun = false;
};

bool IsFieldOption(const std::wstring& arg) {
    if (arg.size() < 3 || arg.substr(0, 2) != L"--")
        return false;
    const std::string name = ToUtf8(arg.substr(2));
    for (std::string_view field : FieldNames()) {
        if (name == field)
            return true;
    }
    return false;
}

struct UsageError {
    std::string message;
};

unsigned ParseCodePage(const std::wstring& text) {
    const std::string narrow = ToUtf8(text);
    const std::optional<int> value = ScanInt(narrow);
    if (!value || *value <= 0 || FormatInt(*value) != narrow)
        throw UsageError{"--codepage needs a positive number, not \"" + narrow + "\""};
    const auto codePage = static_cast<unsigned>(*value);
    if (!IsCodePageAvailable(codePage))
        throw UsageError{"code page " + narrow + " is not available on this system"};
    return codePage;
}

Options ParseArguments(const std::vector<std::wstring>& args) {
    if (args.empty())
        throw UsageError{"no command given"};
    Options options;
    options.command = args[0];
    const bool set = options.command == L"set";
    if (options.command != L"show" && options.command != L"catalogue" && !set)
        throw UsageError{"unknown command \"" + ToUtf8(options.command) + "\""};
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == L'-';
        if (!isOption) {
            options.files.push_back(arg);
        } else if (arg == L"--") {
            optionsEnded = true;
        } else if (arg == L"--json" && !set) {
            options.json = true;
        } else if (arg == L"--csv" && options.command == L"show") {
            options.csv = true;
        } else if (arg == L"--replace" && set) {
            options.replace = true;
        } else if (arg == L"--dry-run" && set) {
            options.dryRun = true;
        } else if (arg == L"--codepage" || arg == L"--catalogue" || arg == L"--from" ||
                   (set && IsFieldOption(arg))) {
            if (i + 1 == args.size())
                throw UsageError{ToUtf8(arg) + " needs a value"};
            const std::wstring& value = args[++i];
            if (arg == L"--codepage")
                options.codePage = ParseCodePage(value);
            else if (arg == L"--catalogue")
                options.cataloguePath = value;
            else if (arg == L"--from" && set)
                options.campaignPath = value;
            else if (arg == L"--from")
                throw UsageError{"--from belongs to set"};
            else
                options.fields.emplace_back(ToUtf8(arg.substr(2)), value);
        } else {
            throw UsageError{"unknown option \"" + ToUtf8(arg) + "\""};
        }
    }
    if (options.command != L"catalogue" && options.files.empty())
        throw UsageError{ToUtf8(options.command) + " needs at least one FILE"};
    if (options.json && options.csv)
        throw UsageError{"--json and --csv exclude each other"};
    if (set && options.fields.empty() && !options.campaignPath)
        throw UsageError{"set needs a field option or --from"};
    if (options.command == L"catalogue" && !options.files.empty())
        throw UsageError{"catalogue takes no FILE"};
    return options;
}

// The catalogue the dialog would use, except that tzrhdr never creates the file.
AntennaCatalogue LoadCatalogue(const std::optional<std::wstring>& explicitPath) {
    AntennaCatalogue catalogue;
    if (explicitPath) {
        if (!ReadFileBytes(*explicitPath, 1))
            throw UsageError{"cannot read the catalogue \"" + ToUtf8(*explicitPath) + "\""};
        catalogue.ReadFromFile(*explicitPath);
        catalogue.path = *explicitPath;
        return catalogue;
    }
    const std::wstring besideProgram =
        GetProgramDirectory() + std::wstring(AntennaCatalogue::kFileName);
    if (SystemFileSystem().Exists(besideProgram)) {
        catalogue.ReadFromFile(besideProgram);
        catalogue.path = besideProgram;
    } else {
        catalogue.UseDefaultList();
    }
    return catalogue;
}

// The record's fields in the order they are printed, each already as JSON text.
std::vector<std::pair<std::string, std::string>> RecordFields(const StationHeader& header,
                                                              unsigned codePage) {
    const auto bytes = [&](const std::string& text) {
        return JsonString(AnsiToWide(text, codePage));
    };
    return {
        {"headerLoaded", JsonBool(header.headerLoaded)},
        {"headerRegionLength", JsonNumber(header.headerRegionLength)},
        {"version", JsonNumber(header.version)},
        {"receiverIdText", bytes(header.receiverIdText)},
        {"dateText", bytes(header.dateText)},
        {"antennaHeight", JsonNumber(header.antennaHeight)},
        {"heightOffset", JsonNumber(header.heightOffset)},
        {"antennaHeightText", JsonString(header.antennaHeightText)},
        {"stationName", JsonString(header.stationName)},
        {"stationCode", JsonString(header.stationCode)},
        {"antennaNumber", JsonString(header.antennaNumber)},
        {"antennaTypeName", JsonString(header.antennaTypeName)},
        {"receiverNumber", JsonString(header.receiverNumber)},
        {"receiverType", JsonString(header.receiverType)},
        {"receiverVersion", JsonString(header.receiverVersion)},
        {"approxX", JsonNumber(header.approxX)},
        {"approxY", JsonNumber(header.approxY)},
        {"approxZ", JsonNumber(header.approxZ)},
        {"interval", JsonNumber(header.interval)},
        {"leapSeconds", JsonNumber(header.leapSeconds)},
        {"timeOfFirstObs", JsonString(header.timeOfFirstObs)},
        {"antennaTypeIndex", JsonNumber(header.antennaTypeIndex)},
        {"measureTo", JsonNumber(header.measureTo)},
        {"directory", JsonString(header.nameParts.directory)},
        {"suffix", JsonString(header.nameParts.suffix)},
    };
}

void PrintJsonRecord(std::ostream& out, const std::wstring& file, const StationHeader& header,
                     const std::vector<std::wstring>& messages, unsigned codePage) {
    out << "{\"file\": " << JsonString(file);
    for (const auto& [key, value] : RecordFields(header, codePage))
        out << ", \"" << key << "\": " << value;
    out << ", \"messages\": [";
    for (size_t i = 0; i < messages.size(); ++i)
        out << (i == 0 ? "" : ", ") << JsonString(messages[i]);
    out << "]}\n";
}

void PrintTextRecord(std::ostream& out, const std::wstring& file, const StationHeader& header,
                     unsigned codePage) {
    out << ToUtf8(file) << "\n";
    for (const auto& [key, value] : RecordFields(header, codePage))
        out << "  " << key << std::string(20 - key.size(), ' ') << value << "\n";
}

// The main fields of one file, for spreadsheets.
const CsvRow kCsvColumns = {"file",           "headerLoaded",    "stationName",     "stationCode",
                            "antennaHeight",  "antennaTypeName", "antennaNumber",   "measureTo",
                            "receiverNumber", "receiverType",    "receiverVersion", "approxX",
                            "approxY",        "approxZ",         "interval",        "leapSeconds",
                            "timeOfFirstObs", "dateText",        "receiverIdText"};

CsvRow CsvRecord(const std::wstring& file, const StationHeader& header, unsigned codePage) {
    const auto number = [](double value) { return FormatGeneral(value, kShownSignificantDigits); };
    return {ToUtf8(file),
            header.headerLoaded ? "true" : "false",
            ToUtf8(header.stationName),
            ToUtf8(header.stationCode),
            ToUtf8(header.antennaHeightText),
            ToUtf8(header.antennaTypeName),
            ToUtf8(header.antennaNumber),
            FormatInt(header.measureTo),
            ToUtf8(header.receiverNumber),
            ToUtf8(header.receiverType),
            ToUtf8(header.receiverVersion),
            number(header.approxX),
            number(header.approxY),
            number(header.approxZ),
            number(header.interval),
            FormatInt(header.leapSeconds),
            ToUtf8(header.timeOfFirstObs),
            ToUtf8(AnsiToWide(header.dateText, codePage)),
            ToUtf8(AnsiToWide(header.receiverIdText, codePage))};
}

int Show(const Options& options, std::ostream& out, std::ostream& err) {
    const AntennaCatalogue catalogue = LoadCatalogue(options.cataloguePath);
    HeaderReadOptions readOptions;
    readOptions.codePage = options.codePage != 0 ? options.codePage : AnsiCodePage();
    int status = kExitOk;
    if (options.csv)
        out << CsvLine(kCsvColumns);
    for (const std::wstring& file : options.files) {
        StationHeader header;
        CollectingOwner owner;
        ReadStationHeader(file, catalogue, header, owner, readOptions);
        if (!header.headerLoaded)
            status = kExitReadFailed;
        if (options.json) {
            PrintJsonRecord(out, file, header, owner.messages, readOptions.codePage);
            continue;
        }
        for (const std::wstring& message : owner.messages)
            err << ToUtf8(file) << ": " << ToUtf8(message) << "\n";
        if (options.csv) {
            out << CsvLine(CsvRecord(file, header, readOptions.codePage));
            continue;
        }
        PrintTextRecord(out, file, header, readOptions.codePage);
    }
    return status;
}

int Set(const Options& options, bool showProgress, std::ostream& out, std::ostream& err) {
    const AntennaCatalogue catalogue = LoadCatalogue(options.cataloguePath);
    SetRequest request;
    for (const auto& [name, value] : options.fields) {
        std::string error;
        if (!SetField(request.edits, name, value, catalogue, error))
            throw UsageError{error};
    }
    request.files = options.files;
    request.campaignPath = options.campaignPath;
    request.replace = options.replace;
    request.dryRun = options.dryRun;
    request.codePage = options.codePage;
    request.showProgress = showProgress;
    return RunSet(request, catalogue, out, err);
}

int PrintCatalogue(const Options& options, std::ostream& out) {
    const AntennaCatalogue catalogue = LoadCatalogue(options.cataloguePath);
    if (options.json) {
        out << "{\"path\": " << (catalogue.path.empty() ? "null" : JsonString(catalogue.path))
            << ", \"count\": " << catalogue.count << ", \"entries\": [";
        for (int i = 0; i < catalogue.count; ++i) {
            const AntennaEntry& entry = catalogue.entries[i];
            out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(entry.name)
                << ", \"values\": [" << JsonString(entry.values[0]) << ", "
                << JsonString(entry.values[1]) << ", " << JsonString(entry.values[2]) << "]}";
        }
        out << "]}\n";
        return kExitOk;
    }
    out << catalogue.count << " antennas from "
        << (catalogue.path.empty() ? "the built-in list" : ToUtf8(catalogue.path)) << "\n";
    for (int i = 0; i < catalogue.count; ++i) {
        const AntennaEntry& entry = catalogue.entries[i];
        out << "  " << i << "\t" << JsonString(entry.name) << "\t" << ToUtf8(entry.values[0]) << " "
            << ToUtf8(entry.values[1]) << " " << ToUtf8(entry.values[2]) << "\n";
    }
    return kExitOk;
}

}  // namespace

int RunTzrhdr(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal) {
    if (!args.empty() && (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"help")) {
        out << kUsage;
        return kExitOk;
    }
    try {
        const Options options = ParseArguments(args);
        if (options.command == L"show")
            return Show(options, out, err);
        if (options.command == L"set")
            return Set(options, errIsTerminal, out, err);
        return PrintCatalogue(options, out);
    } catch (const UsageError& error) {
        err << "tzrhdr: " << error.message << "\n\n" << kUsage;
        return kExitUsage;
    }
}
