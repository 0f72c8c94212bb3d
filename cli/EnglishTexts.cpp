#include "cli/ToolTexts.h"

const ToolTexts& EnglishTexts() {
    static constexpr ToolTexts kTexts = {
        .cannotOpen = "cannot open the file",
        .noVersion = "no version line (\"ver\"); is it a TZR raw file?",
        .noReceiverId = "no receiver line (\"ReceiverID:\"); is it a TZR raw file?",
        .noDate = "the header has no date line (\"Date:\")",
        .dateTooLong = "the date line is longer than 15 bytes",
        .cannotReadHeader = "cannot read the header",
        .problemSeparator = "; ",

        .controlCharacter = "{} holds a control character, which would break the header",
        .notAFileName =
            "{} cannot be part of a Windows file name: {} (no \\ / : * ? \" < > |, "
            "not . or .., no device name such as CON or NUL)",
        .emptyStation = "{} is empty, which would leave the file without a name of its own",
        .notInCodePage =
            "{} holds characters that the header's code page cannot hold: \"{}\" (see --codepage)",

        .numberNotWritable =
            "{} \"{}\" is no number that the header can hold so that it reads back as written",
        .inUse = "another program is using it",
        .link = "it is a symbolic link (name the file it points to)",
        .readOnly = "it is read-only",
        .hardLinked = "it has other hard links, which would keep the old header",
        .changedSinceRead = "another program changed it after it was read",
        .targetExists = "a file with the new name appeared",
        .cannotOpenIt = "cannot open it: {}",

        .fieldReadOnly = "{} cannot be changed",
        .notANumber = "{} needs a number, not {}",
        .notANumberOfMetres = "{} needs a number of metres, not {}",
        .outOfRange = "{} {} is out of range",
        .notInCatalogue = "{} {} is not in the antenna catalogue; closest: {}",
        .notAMeasureTo = "{} is 0, 1, 2, 3 or one of the labels {}",
        .quoted = "\"{}\"",
        .listSeparator = ", ",
        .tableRow = "row {} ({})",

        .tableEmpty = "the table is empty",
        .unclosedQuote = "a quoted field is not closed (it opens in the row of line {})",
        .nulCharacter = "line {} holds a NUL character; save the table as CSV text",
        .cellTooLong = "line {}: a cell is longer than {} bytes, longer than any field can hold",
        .notUtf8 = "line {} is not text in UTF-8 (--encoding or the byte-order mark says it is)",
        .notInNamedCodePage = "line {} is not text in {} (--encoding)",
        .notInAnyCodePage =
            "line {} is neither UTF-8 nor text in {}; name its encoding with --encoding",
        .mixedEncodings =
            "line {} is not in the encoding of line {} ({}): the table mixes encodings; save it "
            "in one",
        .duplicateColumn = "line {}: the column \"{}\" appears twice",
        .unknownColumn = "line {}: unknown column \"{}\"",
        .twoKeyColumns = "line {}: there are two key columns, \"file\" and \"current-station\"",
        .noKeyColumn = "line {}: a \"file\" or a \"current-station\" column is needed",
        .cellCount = "line {} has {} where the headings have {}",
        .oneCell = "{} cell",
        .cells = "{} cells",
        .duplicateKey = "rows {} and {} are both for \"{}\"",
        .tableTooLarge = "line {}: the table is too large",
        .codePageNumber = "code page {}",
        .tableReadInCodePage = "read in code page {}; for a Chinese table give --encoding 936",
        .readOnlyColumnsIgnored = "read-only columns ignored: {}",
        .spreadsheetDamage =
            "{}: {} from the file only as a spreadsheet rewrites numbers (zeros dropped, "
            "E-notation); taken as unchanged",
        .oneCellDiffers = "{} cell differs",
        .cellsDiffer = "{} cells differ",

        .nameMismatch = "the file name says {}, the header's MARKER NAME: {}",
        .unknownAntenna = "{} is not in the antenna catalogue; the editor would show {}",
        .heightMissing = "the antenna height is 0",
        .heightRange = "the antenna height {} m is not between 0 and 5 m",
        .measureToUnknown = "the measure-to code is 0: what the height is measured to is unknown",
        .coordinatesMissing = "the approximate coordinates X, Y and Z are all 0",
        .stationSpread = "{} m from the median position of the {} files of station {}",
        .receiverMismatch = "receiver {} is {} here but {}",
        .receiverTypeInFiles = "{} in {}",
        .logMismatch = "{} is {} in the file, {} in {} of the field log",
        .noRowForFile = "no row of the field log is for it",
        .rowMatchesNoFile = "{} matches no file",
        .checkSummary = "{} checked: {}",
        .findingsInFiles = " in {}",
        .oneFile = "{} file",
        .files = "{} files",
        .oneFinding = "{} finding",
        .findings = "{} findings",
        .writtenValueWarning = "warning: {}: {}",

        .setChanged = "changed",
        .setRenamed = "renamed",
        .setUnchanged = "unchanged",
        .setFailed = "failed",
        .renamedTo = "renamed to {}",
        .wouldRenameTo = "rename to {}",
        .replacingIt = " (replacing it)",
        .noSuchLine = "(no such line)",
        .setSummary = "{}{}: {} changed, {} renamed, {} unchanged, {} failed",
        .dryRunNote = " (dry run, nothing written)",
        .nothingWritten = "; nothing written",
        .writtenBut = "written, but {}",
        .writtenNotRenamed = "header written, not renamed: {}",
        .savedOldKept =
            "another program wrote to it or moved it while it was saved; the old file "
            "is kept, check it against the new one",
        .tornWrite =
            "the write stopped half-way and the old header could not be put back ({}); "
            "tzrhdr undo puts it back",
        .emptyCatalogue = "the antenna catalogue is empty, so no antenna type can be written",
        .headerTooLong = "the header would be longer than 4095 bytes",
        .changedWhilePlanned = "the file changed while the batch was planned; left as it is",
        .targetExistsReplace = "{} exists already; --replace replaces it",
        .givenTwice = "given more than once in this batch",
        .newNameOfAnotherFile = "the new name {} is the name of another file of this batch",
        .sameNewName = "the new name {} is also the new name of {}",
        .journalStopped = "not written, as the journal cannot be written: {}",
        .nameNotJournalled =
            "the journal could not name it again for an undo (its path is not valid "
            "text, or longer than the system takes whole); rename the file or its "
            "folder, or give --no-journal; nothing written",
        .rowProblem = "{}: {}",
        .noRowInTable = "no row in the campaign table; left as it is",
        .fileIsNow = " (the file is now {})",
        .rowMatchesNoFileRead = "{} matches no file that was read",
        .noRowMatchesAnyFile = "no row matches any of the files",
        .cannotWriteJournal = "cannot write the journal: {}; no file was written",
        .journalOptionsHint = " (--journal PATH names another, --no-journal writes none)",
        .noJournalFolder = "the system names no folder for it",
        .notAJournal = "{} is a file of another kind, not a tzrhdr journal",
        .journalIncomplete = "the journal did not take what the last writes left on disk: {}",
        .undoStillFinds = "; tzrhdr undo still finds the files by their content",

        .restored = "restored",
        .wouldBeRestored = "would be restored",
        .alreadyAsBefore = "already as before the batch",
        .renamedBackTo = ", renamed back to {}",
        .undoSummary =
            "batch {}, {}{}: {} restored, {} unchanged, {} changed since, {} missing, {} failed",
        .undoTriesAgain = ", tzrhdr undo tries it again",
        .oldNameTaken = "another file has its old name",
        .notRenamedBack = "old header written, not renamed back: {}; tzrhdr undo renames it",
        .movedMeanwhile = "another program wrote to it or moved it meanwhile; both files are kept",
        .tornRestore = "the write stopped half-way ({}); tzrhdr undo tries it again",
        .restoredBut = "restored, but {}",
        .journalLineUnreadable = "the journal's line for this file does not read; left alone",
        .unreadableNow = "cannot be read now{}; tzrhdr undo tries it again",
        .changedSinceBatch = "changed since the batch; left alone",
        .noLongerExists = "no longer exists; left alone",
        .noBatchLeft = "no batch left to take back",
        .journalInUse =
            "another program is using this journal (a set or an undo of tzrhdr, or the "
            "campaign window); run undo again when it has finished",
        .noJournalFolderGiveOption = "the system names no folder for the journal; give --journal",
        .noSuchBatch = "the journal {} holds no batch {}",
        .takenBack = "taken back",
        .takenBackButChanged = "taken back but for files changed or gone since",
        .toTakeBack = "{} to take back",
        .notAJournalLine =
            "{} line is not a journal line and is passed over (line {}); files it "
            "names are not taken back",
        .notJournalLines =
            "{} lines are not journal lines and are passed over (lines {}); files "
            "they name are not taken back",
        .moreLines = ", ...",

        .antennasFrom = "{} antennas from {}",
        .builtInList = "the built-in list",
        .recordTooShort = "a record with {} of its 4 lines",
        .fieldLineTooMany = "a fifth line of its record, ignored",
        .recordBeyondCapacity = "a record after the hundredth, ignored",

        .helpHint = "Try \"tzrhdr --help\" or \"tzrhdr COMMAND --help\".",
        .unknownCommand = "unknown command \"{}\"",
        .dashedFileName = "{} is read as an option; name the file as ./{} or after --",
        .needsCodePageNumber = "{} needs a code page number, not \"{}\"",
        .codePageNotAvailable = "{}: code page {} is not available on this system",
        .badEncoding = "--encoding is utf-8, ansi or a code page number, not \"{}\"",
        .badLanguage = "--lang is zh or en, not \"{}\"",
        .setNeedsEdit = "set needs a field option or --from",

        .usageLabel = "Usage",
        .positionalsLabel = "Positionals",
        .optionsLabel = "OPTIONS",
        .optionsGroup = "Options",
        .commandLabel = "SUBCOMMAND",
        .commandsGroup = "Subcommands",
        .requiredLabel = "REQUIRED",
        .excludesLabel = "Excludes",
        .needsLabel = "Needs",
        .helpOption = "Print this help message and exit",
        .versionOption = "Display program version information and exit",
        .toolDescription =
            "tzrhdr reads and corrects the text headers of raw GNSS observation "
            "files (.TZR) as TZR Data Manager does.",
        .footer =
            "Header text is read in the code page that --codepage names, else TZR_CODEPAGE, else "
            "the\nsystem's ANSI code page (on Linux the one Windows uses for the locale: zh_CN "
            "gives 936).\nExit status: 0 when every file was read (or edited) completely, 1 when "
            "one was not\n(check: when there is a finding), 2 on bad usage.",
        .showDescription = "print each raw file's header record",
        .setDescription =
            "correct headers as TZR Data Manager's Save does, renaming files after their station",
        .checkDescription =
            "report what looks wrong in raw files, alone, together and against the field log",
        .undoDescription = "take back the newest batch of set not taken back yet, or the one named",
        .catalogueDescription = "print the antenna catalogue",
        .langOption = "messages in Chinese (zh) or English (en); by default the system's language",
        .codePageOption = "read header text (and the antenna catalogue) in code page N",
        .catalogueOption =
            "antenna catalogue instead of TzrManagerAnt.ini beside tzrhdr; never written",
        .catalogueOptionOfCatalogue =
            "antenna catalogue instead of TzrManagerAnt.ini beside tzrhdr",
        .filesOption =
            "raw files (.TZR); a folder for the raw files in it; * and ? as wildcards; "
            "@LIST for the paths in the file LIST, one per line",
        .recursiveOption = "a folder stands for the raw files in its subfolders too",
        .showJsonOption =
            "one JSON object per file and line, with the messages the editor would show",
        .showCsvOption =
            "a spreadsheet table, UTF-8 with a byte-order mark unless --encoding names another",
        .showEncodingOption = "the table's encoding: utf-8, ansi (the header code page) or NUMBER",
        .setFromOption = "campaign table: a file or current-station column, one column per field",
        .tableEncodingOption =
            "the table's encoding: utf-8, ansi or NUMBER; by default UTF-8 if valid, else ansi",
        .replaceOption = "replace a file outside this batch that has the new name already",
        .dryRunOption = "print what would change; write nothing",
        .setJsonOption = "one JSON object per file and line on standard output",
        .journalOption = "record the batch in this journal instead of the user's own",
        .noJournalOption = "record nothing; the batch cannot be undone",
        .checkFromOption = "field log: a campaign table as set reads it",
        .checkEncodingOption =
            "the field log's encoding: utf-8, ansi or NUMBER; by default UTF-8 "
            "if valid, else ansi",
        .checkJsonOption = "one JSON object per finding and line",
        .undoJournalOption = "the journal instead of the user's own",
        .batchOption = "take back this batch (an undo: redo it)",
        .undoDryRunOption = "print what would be restored; write nothing",
        .listOption = "list the journal's batches",
        .undoJsonOption = "one JSON object per file (or batch) and line",
        .catalogueJsonOption = "one JSON object",
        .listUnreadable = "cannot be read",
        .listNamesNoFile = "names no file",
        .listNotText = "not text in UTF-8 or the system's code page",
        .noFileMatches = "no file matches",
        .noRawFile = "no raw file (.TZR) in the folder",
        .noRawFileTrySubfolders =
            "no raw file (.TZR) in the folder; --recursive takes its subfolders too",
        .passedOver = "{}; passed over",
        .codePageHint =
            "header text was read in code page {}; for Chinese headers give "
            "--codepage 936 or set TZR_CODEPAGE=936",
    };
    return kTexts;
}
