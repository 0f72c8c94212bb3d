#include "cli/Tzrhdr.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <utility>

#include "cli/CatalogueCommand.h"
#include "cli/CheckCommand.h"
#include "cli/FieldWords.h"
#include "cli/FileArguments.h"
#include "cli/SaveProblemText.h"
#include "cli/SetCommand.h"
#include "cli/ShowCommand.h"
#include "cli/ToolOptions.h"
#include "cli/ToolTexts.h"
#include "cli/UndoCommand.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"

namespace {

constexpr int kExitUsage = 2;

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

void AddCodePageOption(CLI::App& command, Values& values, const ToolTexts& texts) {
    command.add_option("--codepage", values.codePage, std::string(texts.codePageOption))
        ->type_name("N");
}

void AddReadingOptions(CLI::App& command, Values& values, const ToolTexts& texts) {
    AddCodePageOption(command, values, texts);
    command.add_option("--catalogue", values.catalogue, std::string(texts.catalogueOption))
        ->type_name("PATH");
    command.add_flag("--recursive", values.recursive, std::string(texts.recursiveOption));
    command.add_option("FILE", values.files, std::string(texts.filesOption))->required();
}

void AddFieldOptions(CLI::App& set, Values& values, Language language) {
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
               std::string(MeaningOf(field, language)) + " [" + header + "]")
            ->type_name(field.kind == FieldKind::Number ? "N" : "TEXT");
    }
}

int Show(const Values& values, const ToolEnvironment& environment, Language language,
         std::ostream& out, std::ostream& err) {
    ShowRequest request;
    request.files = ExpandFileArguments(WideAll(values.files), {values.recursive, language}, err);
    request.format = values.json  ? RecordFormat::Json
                     : values.csv ? RecordFormat::Csv
                                  : RecordFormat::Text;
    request.codePage = HeaderCodePage(values.codePage, environment.codePageVariable, language);
    request.csvCodePage =
        TableCodePage(values.encoding, request.codePage, language).value_or(kUtf8CodePage);
    request.language = language;
    return RunShow(request, LoadCatalogue(Wide(values.catalogue), request.codePage), out, err);
}

int Check(const Values& values, const ToolEnvironment& environment, Language language,
          std::ostream& out, std::ostream& err) {
    CheckRequest request;
    request.files = ExpandFileArguments(WideAll(values.files), {values.recursive, language}, err);
    if (!values.campaign.empty())
        request.campaignPath = Wide(values.campaign);
    request.codePage = HeaderCodePage(values.codePage, environment.codePageVariable, language);
    request.campaignCodePage = TableCodePage(values.encoding, request.codePage, language);
    request.json = values.json;
    request.language = language;
    return RunCheck(request, LoadCatalogue(Wide(values.catalogue), request.codePage), out, err);
}

int Catalogue(const Values& values, const ToolEnvironment& environment, Language language,
              std::ostream& out, std::ostream& err) {
    const unsigned codePage =
        HeaderCodePage(values.codePage, environment.codePageVariable, language);
    return RunCatalogue(LoadCatalogue(Wide(values.catalogue), codePage), values.json, language, out,
                        err);
}

int Undo(const Values& values, const ToolEnvironment& environment, Language language,
         const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err) {
    UndoRequest request;
    request.journal = *JournalFor(values, environment, args);
    if (!values.batch.empty())
        request.batch = values.batch;
    request.list = values.list;
    request.dryRun = values.dryRun;
    request.json = values.json;
    request.language = language;
    request.fileSystem = environment.files != nullptr ? environment.files : &SystemFileSystem();
    return RunUndo(request, out, err);
}

int Set(const Values& values, const ToolEnvironment& environment, Language language,
        const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err) {
    if (values.fields.empty() && values.campaign.empty())
        throw UsageError{std::string(TextsIn(language).setNeedsEdit)};
    SetRequest request;
    request.codePage = HeaderCodePage(values.codePage, environment.codePageVariable, language);
    const AntennaCatalogue catalogue = LoadCatalogue(Wide(values.catalogue), request.codePage);
    for (const auto& [field, text] : values.fields) {
        StationHeader scratch;
        if (std::optional<FieldValueProblem> problem =
                TakeFieldValue(*field, scratch, Wide(text), catalogue))
            throw UsageError{FieldProblemText(*problem, language)};
        request.edits.push_back({field, Wide(text)});
    }
    request.files = ExpandFileArguments(WideAll(values.files), {values.recursive, language}, err);
    if (!values.campaign.empty())
        request.campaignPath = Wide(values.campaign);
    request.campaignCodePage = TableCodePage(values.encoding, request.codePage, language);
    request.replace = values.replace;
    request.dryRun = values.dryRun;
    request.json = values.json;
    request.showProgress = environment.errIsTerminal && !values.json;
    request.language = language;
    request.journal = JournalFor(values, environment, args);
    request.fileSystem = environment.files != nullptr ? environment.files : &SystemFileSystem();
    return RunSet(std::move(request), catalogue, out, err);
}

// What the parser cannot tell: an argument it read otherwise than the user meant.
std::string MisreadArguments(const std::vector<std::wstring>& args,
                             const ToolEnvironment& environment, const ToolTexts& texts) {
    FileSystem& files = environment.files != nullptr ? *environment.files : SystemFileSystem();
    std::string hints;
    for (const std::wstring& arg : args) {
        const std::string text = ToUtf8(arg);
        if (arg.size() > 1 && arg.starts_with(L"-") && files.Exists(arg))
            hints += "\ntzrhdr: " + Fill(texts.dashedFileName, {text, text});
    }
    return hints;
}

int UsageFailure(const std::string& message, bool helpHint, Language language, std::ostream& err) {
    err << "tzrhdr: " << message << "\n";
    if (helpHint)
        err << TextsIn(language).helpHint << "\n";
    return kExitUsage;
}

// The help library's own words, before any command is added, so that every command takes them.
void WordHelp(CLI::App& app, const ToolTexts& texts) {
    const std::shared_ptr<CLI::FormatterBase> formatter = app.get_formatter();
    formatter->label("Usage", std::string(texts.usageLabel));
    formatter->label("Positionals", std::string(texts.positionalsLabel));
    formatter->label("OPTIONS", std::string(texts.optionsLabel));
    formatter->label("SUBCOMMAND", std::string(texts.commandLabel));
    formatter->label("REQUIRED", std::string(texts.requiredLabel));
    formatter->label("Excludes", std::string(texts.excludesLabel));
    formatter->label("Needs", std::string(texts.needsLabel));
    app.option_defaults()->group(std::string(texts.optionsGroup));
    app.set_help_flag("-h,--help", std::string(texts.helpOption));
}

// The language --lang names, wherever it stands, else the system's; the option is taken out of
// the arguments. Nothing when --lang names no language tzrhdr speaks.
std::optional<Language> TakeLanguage(std::vector<std::wstring>& args,
                                     const ToolEnvironment& environment, std::wstring& named) {
    named = environment.language.starts_with("zh") ? L"zh" : L"en";
    for (auto arg = args.begin(); arg != args.end();) {
        if (*arg == L"--lang" && arg + 1 != args.end()) {
            named = arg[1];
            arg = args.erase(arg, arg + 2);
        } else if (arg->starts_with(L"--lang=")) {
            named = arg->substr(7);
            arg = args.erase(arg);
        } else {
            ++arg;
        }
    }
    if (named == L"zh")
        return Language::Chinese;
    if (named == L"en")
        return Language::English;
    return std::nullopt;
}

}  // namespace

int RunTzrhdr(const std::vector<std::wstring>& commandLine, std::ostream& out, std::ostream& err,
              const ToolEnvironment& environment) {
    std::vector<std::wstring> args = commandLine;
    std::wstring namedLanguage;
    const std::optional<Language> chosen = TakeLanguage(args, environment, namedLanguage);
    const Language language = chosen.value_or(Language::English);
    if (!chosen)
        return UsageFailure(Fill(TextsIn(language).badLanguage, {ToUtf8(namedLanguage)}), true,
                            language, err);
    const ToolTexts& texts = TextsIn(language);
    CLI::App app(std::string(texts.toolDescription), "tzrhdr");
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    WordHelp(app, texts);
    app.set_version_flag("--version", "tzrhdr " + environment.version,
                         std::string(texts.versionOption));
    app.footer(std::string(texts.footer));
    Values values;
    std::string languageOption;
    app.add_option("--lang", languageOption, std::string(texts.langOption))->type_name("zh|en");

    CLI::App* show = app.add_subcommand("show", std::string(texts.showDescription));
    AddReadingOptions(*show, values, texts);
    CLI::Option* json = show->add_flag("--json", values.json, std::string(texts.showJsonOption));
    CLI::Option* csv = show->add_flag("--csv", values.csv, std::string(texts.showCsvOption));
    json->excludes(csv);
    show->add_option("--encoding", values.encoding, std::string(texts.showEncodingOption))
        ->type_name("ENCODING")
        ->needs(csv);

    CLI::App* set = app.add_subcommand("set", std::string(texts.setDescription));
    AddFieldOptions(*set, values, language);
    set->add_option("--from", values.campaign, std::string(texts.setFromOption))->type_name("CSV");
    set->add_option("--encoding", values.encoding, std::string(texts.tableEncodingOption))
        ->type_name("ENCODING");
    set->add_flag("--replace", values.replace, std::string(texts.replaceOption));
    set->add_flag("--dry-run", values.dryRun, std::string(texts.dryRunOption));
    set->add_flag("--json", values.json, std::string(texts.setJsonOption));
    CLI::Option* journal =
        set->add_option("--journal", values.journal, std::string(texts.journalOption))
            ->type_name("PATH");
    set->add_flag("--no-journal", values.noJournal, std::string(texts.noJournalOption))
        ->excludes(journal);
    AddReadingOptions(*set, values, texts);

    CLI::App* check = app.add_subcommand("check", std::string(texts.checkDescription));
    check->add_option("--from", values.campaign, std::string(texts.checkFromOption))
        ->type_name("CSV");
    check->add_option("--encoding", values.encoding, std::string(texts.checkEncodingOption))
        ->type_name("ENCODING");
    check->add_flag("--json", values.json, std::string(texts.checkJsonOption));
    AddReadingOptions(*check, values, texts);

    CLI::App* undo = app.add_subcommand("undo", std::string(texts.undoDescription));
    undo->add_option("--journal", values.journal, std::string(texts.undoJournalOption))
        ->type_name("PATH");
    CLI::Option* batch =
        undo->add_option("--batch", values.batch, std::string(texts.batchOption))->type_name("ID");
    CLI::Option* dryRun =
        undo->add_flag("--dry-run", values.dryRun, std::string(texts.undoDryRunOption));
    undo->add_flag("--list", values.list, std::string(texts.listOption))
        ->excludes(batch)
        ->excludes(dryRun);
    undo->add_flag("--json", values.json, std::string(texts.undoJsonOption));

    CLI::App* catalogue = app.add_subcommand("catalogue", std::string(texts.catalogueDescription));
    catalogue->add_flag("--json", values.json, std::string(texts.catalogueJsonOption));
    catalogue
        ->add_option("--catalogue", values.catalogue, std::string(texts.catalogueOptionOfCatalogue))
        ->type_name("PATH");
    AddCodePageOption(*catalogue, values, texts);
    for (CLI::App* command : app.get_subcommands({})) {
        command->group(std::string(texts.commandsGroup));
        command->get_help_ptr()->group(std::string(texts.optionsGroup));
    }

    if (!args.empty() && !args[0].starts_with(L"-")) {
        const std::string command = ToUtf8(args[0]);
        const auto named = [&](CLI::App* candidate) { return candidate->check_name(command); };
        if (app.get_subcommands(named).empty())
            return UsageFailure(Fill(texts.unknownCommand, {command}), true, language, err);
    }
    // CLI11 takes the arguments last first. It would give "--station=" the argument after it, a
    // file name, for its value: the empty value typed is given as an argument of its own.
    std::vector<std::string> reversed;
    const auto endOfOptions = std::find(args.begin(), args.end(), L"--");
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        const bool emptyValue = arg.base() <= endOfOptions && arg->size() > 3 &&
                                arg->starts_with(L"--") && arg->ends_with(L"=");
        if (emptyValue)
            reversed.emplace_back();
        reversed.push_back(ToUtf8(emptyValue ? arg->substr(0, arg->size() - 1) : *arg));
    }
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(error, out, err);
        return UsageFailure(error.what() + MisreadArguments(args, environment, texts), true,
                            language, err);
    }
    try {
        if (show->parsed())
            return Show(values, environment, language, out, err);
        if (set->parsed())
            return Set(values, environment, language, commandLine, out, err);
        if (check->parsed())
            return Check(values, environment, language, out, err);
        if (undo->parsed())
            return Undo(values, environment, language, commandLine, out, err);
        return Catalogue(values, environment, language, out, err);
    } catch (const UsageError& error) {
        return UsageFailure(error.message, error.helpHint, language, err);
    }
}
