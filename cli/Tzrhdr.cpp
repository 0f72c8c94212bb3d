#include "cli/Tzrhdr.h"

#include <CLI/CLI.hpp>

#include "cli/CatalogueCommand.h"
#include "cli/CheckCommand.h"
#include "cli/FileArguments.h"
#include "cli/SetCommand.h"
#include "cli/ShowCommand.h"
#include "cli/ToolOptions.h"
#include "cli/UndoCommand.h"
#include "platform/Utf8.h"
#include "platform/CodePage.h"

namespace {

constexpr int kExitUsage = 2;

constexpr const char* kFooter =
    "Header text is read in the code page that --codepage names, else TZR_CODEPAGE, else the\n"
    "system's ANSI code page (on Linux the one Windows uses for the locale: zh_CN gives 936).\n"
    "Exit status: 0 when every file was read (or edited) completely, 1 when one was not\n"
    "(check: when there is a finding), 2 on bad usage.";

std::wstring Wide(const std::string& utf8) {
    return MultiByteToUnicodeString(utf8, kUtf8CodePage);
}

std::vector<std::wstring> WideAll(const std::vector<std::string>& utf8) {
    std::vector<std::wstring> wide;
    for (const std::string& text : utf8)
        wide.push_back(Wide(text));
    return wide;
}

// What the options of all commands hold once parsed.
struct Values {
    std::string codePage;
    std::string catalogue;
    std::string encoding;
    std::vector<std::string> files;
    bool recursive = false;
    bool json = false;
    bool csv = false;
    std::string campaign;
    bool replace = false;
    bool dryRun = false;
    std::vector<std::pair<const RecordField*, std::string>> fields;
    std::string journal;
    bool noJournal = false;
    std::string batch;
    bool list = false;
};

// An argument as a shell would need it typed again.
std::string Quoted(const std::wstring& arg) {
    const std::string text = ToUtf8(arg);
    if (!text.empty() && text.find_first_of(" \t\"'") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CommandLine(const std::vector<std::wstring>& args) {
    std::string line = "tzrhdr";
    for (const std::wstring& arg : args)
        line += " " + Quoted(arg);
    return line;
}

// Where a batch is recorded: --journal, else the user's journal; nothing under --no-journal.
std::optional<JournalTarget> JournalFor(const Values& values, const ToolEnvironment& environment,
                                        const std::vector<std::wstring>& args) {
    if (values.noJournal)
        return std::nullopt;
    BatchInfo batch{NewBatchId(), JournalTime(), environment.version, CommandLine(args), {}};
    return JournalTarget{values.journal.empty() ? environment.journalPath : Wide(values.journal),
                         std::move(batch)};
}

void AddReadingOptions(CLI::App& command, Values& values) {
    command.add_option("--codepage", values.codePage, "read header text in code page N")
        ->type_name("N");
    command
        .add_option("--catalogue", values.catalogue,
                    "antenna catalogue instead of TzrManagerAnt.ini beside tzrhdr; never written")
        ->type_name("PATH");
    command.add_flag("--recursive", values.recursive,
                     "a folder stands for the raw files in its subfolders too");
    command
        .add_option("FILE", values.files,
                    "raw files (.TZR); a folder for the raw files in it; * and ? as wildcards; "
                    "@LIST for the paths in the file LIST, one per line")
        ->required();
}

void AddFieldOptions(CLI::App& set, Values& values) {
    for (const RecordField& field : RecordFields()) {
        if (!field.Editable())
            continue;
        std::string header;
        for (std::string_view key : field.headerKeys)
            header += key.empty() ? "" : (header.empty() ? "" : ", ") + std::string(key);
        set.add_option_function<std::string>(
               "--" + std::string(field.name),
               [&values, &field](const std::string& value) {
                   values.fields.emplace_back(&field, value);
               },
               std::string(field.meaning) + " [" + header + "]")
            ->type_name(field.kind == FieldKind::Number ? "N" : "TEXT");
    }
}

int Show(const Values& values, const ToolEnvironment& environment, std::ostream& out,
         std::ostream& err) {
    ShowRequest request;
    request.files = ExpandFileArguments(WideAll(values.files), {values.recursive}, err);
    request.format = values.json  ? RecordFormat::Json
                     : values.csv ? RecordFormat::Csv
                                  : RecordFormat::Text;
    request.codePage = HeaderCodePage(values.codePage, environment.codePageVariable);
    request.csvCodePage = TableCodePage(values.encoding, request.codePage).value_or(kUtf8CodePage);
    return RunShow(request, LoadCatalogue(Wide(values.catalogue)), out, err);
}

int Check(const Values& values, const ToolEnvironment& environment, std::ostream& out,
          std::ostream& err) {
    CheckRequest request;
    request.files = ExpandFileArguments(WideAll(values.files), {values.recursive}, err);
    if (!values.campaign.empty())
        request.campaignPath = Wide(values.campaign);
    request.codePage = HeaderCodePage(values.codePage, environment.codePageVariable);
    request.campaignCodePage = TableCodePage(values.encoding, request.codePage);
    request.json = values.json;
    return RunCheck(request, LoadCatalogue(Wide(values.catalogue)), out, err);
}

int Undo(const Values& values, const ToolEnvironment& environment,
         const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err) {
    UndoRequest request;
    request.journal = *JournalFor(values, environment, args);
    if (!values.batch.empty())
        request.batch = values.batch;
    request.list = values.list;
    request.dryRun = values.dryRun;
    request.json = values.json;
    return RunUndo(request, out, err);
}

int Set(const Values& values, const ToolEnvironment& environment,
        const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err) {
    if (values.fields.empty() && values.campaign.empty())
        throw UsageError{"set needs a field option or --from"};
    const AntennaCatalogue catalogue = LoadCatalogue(Wide(values.catalogue));
    SetRequest request;
    for (const auto& [field, text] : values.fields) {
        StationHeader scratch;
        if (std::optional<std::string> error =
                TakeFieldValue(*field, scratch, Wide(text), catalogue))
            throw UsageError{*error};
        request.edits.push_back({field, Wide(text)});
    }
    request.files = ExpandFileArguments(WideAll(values.files), {values.recursive}, err);
    if (!values.campaign.empty())
        request.campaignPath = Wide(values.campaign);
    request.codePage = HeaderCodePage(values.codePage, environment.codePageVariable);
    request.campaignCodePage = TableCodePage(values.encoding, request.codePage);
    request.replace = values.replace;
    request.dryRun = values.dryRun;
    request.json = values.json;
    request.showProgress = environment.errIsTerminal && !values.json;
    request.journal = JournalFor(values, environment, args);
    return RunSet(request, catalogue, out, err);
}

int UsageFailure(const std::string& message, bool helpHint, std::ostream& err) {
    err << "tzrhdr: " << message << "\n";
    if (helpHint)
        err << "Try \"tzrhdr --help\" or \"tzrhdr COMMAND --help\".\n";
    return kExitUsage;
}

}  // namespace

int RunTzrhdr(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err,
              const ToolEnvironment& environment) {
    CLI::App app(
        "tzrhdr reads and corrects the text headers of raw GNSS observation files "
        "(.TZR) as TZR Data Manager does.",
        "tzrhdr");
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    app.set_version_flag("--version", "tzrhdr " + environment.version);
    app.footer(kFooter);
    Values values;

    CLI::App* show = app.add_subcommand("show", "print each raw file's header record");
    AddReadingOptions(*show, values);
    CLI::Option* json = show->add_flag("--json", values.json,
                                       "one JSON object per file and line, with the messages "
                                       "the editor would show");
    CLI::Option* csv = show->add_flag("--csv", values.csv,
                                      "a spreadsheet table, UTF-8 with a byte-order mark "
                                      "unless --encoding names another");
    json->excludes(csv);
    show->add_option("--encoding", values.encoding,
                     "the table's encoding: utf-8, ansi (the header code page) or NUMBER")
        ->type_name("ENCODING")
        ->needs(csv);

    CLI::App* set = app.add_subcommand(
        "set",
        "correct headers as TZR Data Manager's Save does, renaming files after their station");
    AddFieldOptions(*set, values);
    set->add_option("--from", values.campaign,
                    "campaign table: a file or current-station column, one column per field")
        ->type_name("CSV");
    set->add_option(
           "--encoding", values.encoding,
           "the table's encoding: utf-8, ansi or NUMBER; by default UTF-8 if valid, else ansi")
        ->type_name("ENCODING");
    set->add_flag("--replace", values.replace,
                  "replace a file outside this batch that has the new name already");
    set->add_flag("--dry-run", values.dryRun, "print what would change; write nothing");
    set->add_flag("--json", values.json, "one JSON object per file and line on standard output");
    CLI::Option* journal =
        set->add_option("--journal", values.journal,
                        "record the batch in this journal instead of the user's own")
            ->type_name("PATH");
    set->add_flag("--no-journal", values.noJournal, "record nothing; the batch cannot be undone")
        ->excludes(journal);
    AddReadingOptions(*set, values);

    CLI::App* check = app.add_subcommand(
        "check", "report what looks wrong in raw files, alone, together and against the field log");
    check->add_option("--from", values.campaign, "field log: a campaign table as set reads it")
        ->type_name("CSV");
    check
        ->add_option("--encoding", values.encoding,
                     "the field log's encoding: utf-8, ansi or NUMBER; by default UTF-8 if "
                     "valid, else ansi")
        ->type_name("ENCODING");
    check->add_flag("--json", values.json, "one JSON object per finding and line");
    AddReadingOptions(*check, values);

    CLI::App* undo = app.add_subcommand(
        "undo", "take back the newest batch of set not taken back yet, or the one named");
    undo->add_option("--journal", values.journal, "the journal instead of the user's own")
        ->type_name("PATH");
    CLI::Option* batch =
        undo->add_option("--batch", values.batch, "take back this batch (an undo: redo it)")
            ->type_name("ID");
    CLI::Option* dryRun =
        undo->add_flag("--dry-run", values.dryRun, "print what would be restored; write nothing");
    undo->add_flag("--list", values.list, "list the journal's batches")
        ->excludes(batch)
        ->excludes(dryRun);
    undo->add_flag("--json", values.json, "one JSON object per file (or batch) and line");

    CLI::App* catalogue = app.add_subcommand("catalogue", "print the antenna catalogue");
    catalogue->add_flag("--json", values.json, "one JSON object");
    catalogue
        ->add_option("--catalogue", values.catalogue,
                     "antenna catalogue instead of TzrManagerAnt.ini beside tzrhdr")
        ->type_name("PATH");

    if (!args.empty() && !args[0].starts_with(L"-")) {
        const std::string command = ToUtf8(args[0]);
        const auto named = [&](CLI::App* candidate) { return candidate->check_name(command); };
        if (app.get_subcommands(named).empty())
            return UsageFailure("unknown command \"" + command + "\"", true, err);
    }
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg)
        reversed.push_back(ToUtf8(*arg));
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(error, out, err);
        return UsageFailure(error.what(), true, err);
    }
    try {
        if (show->parsed())
            return Show(values, environment, out, err);
        if (set->parsed())
            return Set(values, environment, args, out, err);
        if (check->parsed())
            return Check(values, environment, out, err);
        if (undo->parsed())
            return Undo(values, environment, args, out, err);
        return RunCatalogue(LoadCatalogue(Wide(values.catalogue)), values.json, out);
    } catch (const UsageError& error) {
        return UsageFailure(error.message, error.helpHint, err);
    }
}
