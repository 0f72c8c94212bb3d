#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

enum class Language { English, Chinese };

// Every text tzrhdr words itself, in one language. In a pattern each "{}" takes the next value.
struct ToolTexts {
    // What the reader says; in Chinese, the editor's own words.
    std::string_view cannotOpen;
    std::string_view noVersion;
    std::string_view noReceiverId;
    std::string_view noDate;
    std::string_view dateTooLong;
    std::string_view cannotReadHeader;
    std::string_view problemSeparator;

    // Why a value cannot be written into a header: field, characters.
    std::string_view controlCharacter;
    std::string_view notAFileName;
    std::string_view emptyStation;
    std::string_view notInCodePage;
    std::string_view numberNotWritable;

    // Why a write did not go through; `nothingWritten` follows where it wrote nothing.
    std::string_view inUse;
    std::string_view link;
    std::string_view readOnly;
    std::string_view hardLinked;
    std::string_view changedSinceRead;
    std::string_view targetExists;
    std::string_view cannotOpenIt;

    // Why a value given for a field cannot be taken: field, value, and the names or labels.
    std::string_view fieldReadOnly;
    std::string_view notANumber;
    std::string_view notANumberOfMetres;
    std::string_view outOfRange;
    std::string_view notInCatalogue;
    std::string_view notAMeasureTo;
    std::string_view quoted;
    std::string_view listSeparator;
    // A row of a campaign table: the line it starts on, as a spreadsheet counts lines, and its key.
    std::string_view tableRow;

    // Why a campaign table cannot be used: the line, as a spreadsheet counts lines, first.
    std::string_view tableEmpty;
    std::string_view unclosedQuote;
    std::string_view nulCharacter;
    std::string_view cellTooLong;
    std::string_view notUtf8;
    std::string_view notInNamedCodePage;
    std::string_view notInAnyCodePage;
    std::string_view mixedEncodings;
    std::string_view duplicateColumn;
    std::string_view unknownColumn;
    std::string_view twoKeyColumns;
    std::string_view noKeyColumn;
    std::string_view cellCount;
    std::string_view oneCell;
    std::string_view cells;
    std::string_view duplicateKey;
    std::string_view tableTooLarge;
    std::string_view codePageNumber;
    // What reading a table noticed: its code page; the columns ignored; per column, the cells a
    // spreadsheet rewrote.
    std::string_view tableReadInCodePage;
    std::string_view readOnlyColumnsIgnored;
    std::string_view spreadsheetDamage;
    std::string_view oneCellDiffers;
    std::string_view cellsDiffer;

    // What check finds.
    std::string_view nameMismatch;
    std::string_view unknownAntenna;
    std::string_view heightMissing;
    std::string_view heightRange;
    std::string_view measureToUnknown;
    std::string_view coordinatesMissing;
    std::string_view stationSpread;
    std::string_view receiverMismatch;
    std::string_view receiverTypeInFiles;
    std::string_view logMismatch;
    std::string_view noRowForFile;
    std::string_view rowMatchesNoFile;
    std::string_view checkSummary;
    std::string_view findingsInFiles;
    std::string_view oneFile;
    std::string_view files;
    std::string_view oneFinding;
    std::string_view findings;
    // What set says of a value it writes that check would find: code, finding.
    std::string_view writtenValueWarning;

    // What set reports of each file, and the summary: count, dry-run note, then the tally.
    std::string_view setChanged;
    std::string_view setRenamed;
    std::string_view setUnchanged;
    std::string_view setFailed;
    std::string_view renamedTo;
    std::string_view wouldRenameTo;
    std::string_view replacingIt;
    std::string_view noSuchLine;
    std::string_view setSummary;
    std::string_view dryRunNote;
    // Why set did not write a file, or what its write left on disk.
    std::string_view nothingWritten;
    std::string_view writtenBut;
    std::string_view writtenNotRenamed;
    std::string_view savedOldKept;
    std::string_view tornWrite;
    std::string_view emptyCatalogue;
    std::string_view headerTooLong;
    std::string_view changedWhilePlanned;
    std::string_view targetExistsReplace;
    // A new name that clashes with the batch: the new name, and the other file.
    std::string_view givenTwice;
    std::string_view newNameOfAnotherFile;
    std::string_view sameNewName;
    std::string_view journalStopped;
    std::string_view nameNotJournalled;
    std::string_view rowProblem;
    std::string_view noRowInTable;
    std::string_view fileIsNow;
    std::string_view rowMatchesNoFileRead;
    std::string_view noRowMatchesAnyFile;
    // The journal: why it cannot be written, and what it did not take.
    std::string_view cannotWriteJournal;
    std::string_view journalOptionsHint;
    std::string_view noJournalFolder;
    std::string_view notAJournal;
    std::string_view journalIncomplete;
    std::string_view undoStillFinds;

    // What undo reports of each file, and the summary: batch, count, dry-run note, the tally.
    std::string_view restored;
    std::string_view wouldBeRestored;
    std::string_view alreadyAsBefore;
    std::string_view renamedBackTo;
    std::string_view undoSummary;
    std::string_view undoTriesAgain;
    std::string_view oldNameTaken;
    std::string_view notRenamedBack;
    std::string_view movedMeanwhile;
    std::string_view tornRestore;
    std::string_view restoredBut;
    std::string_view journalLineUnreadable;
    std::string_view unreadableNow;
    std::string_view changedSinceBatch;
    std::string_view noLongerExists;
    std::string_view noBatchLeft;
    std::string_view journalInUse;
    std::string_view noJournalFolderGiveOption;
    std::string_view noSuchBatch;
    // undo --list: the files of a batch and how far it is taken back; lines it passed over.
    std::string_view takenBack;
    std::string_view takenBackButChanged;
    std::string_view toTakeBack;
    // Lines of the journal that do not read: their count and their numbers.
    std::string_view notAJournalLine;
    std::string_view notJournalLines;
    std::string_view moreLines;

    // The antenna catalogue: count, source; what is amiss with a record.
    std::string_view antennasFrom;
    std::string_view builtInList;
    std::string_view recordTooShort;
    std::string_view fieldLineTooMany;
    std::string_view recordBeyondCapacity;

    // Bad usage.
    std::string_view helpHint;
    std::string_view unknownCommand;
    std::string_view dashedFileName;
    std::string_view needsCodePageNumber;
    std::string_view codePageNotAvailable;
    std::string_view badEncoding;
    std::string_view badLanguage;
    std::string_view setNeedsEdit;

    // --help: the help library's own words, then tzrhdr's.
    std::string_view usageLabel;
    std::string_view positionalsLabel;
    std::string_view optionsLabel;
    std::string_view optionsGroup;
    std::string_view commandLabel;
    std::string_view commandsGroup;
    std::string_view requiredLabel;
    std::string_view excludesLabel;
    std::string_view needsLabel;
    std::string_view helpOption;
    std::string_view versionOption;
    std::string_view toolDescription;
    std::string_view footer;
    std::string_view showDescription;
    std::string_view setDescription;
    std::string_view checkDescription;
    std::string_view undoDescription;
    std::string_view catalogueDescription;
    std::string_view langOption;
    std::string_view codePageOption;
    std::string_view catalogueOption;
    std::string_view catalogueOptionOfCatalogue;
    std::string_view filesOption;
    std::string_view recursiveOption;
    std::string_view showJsonOption;
    std::string_view showCsvOption;
    std::string_view showEncodingOption;
    std::string_view setFromOption;
    std::string_view tableEncodingOption;
    std::string_view replaceOption;
    std::string_view dryRunOption;
    std::string_view setJsonOption;
    std::string_view journalOption;
    std::string_view noJournalOption;
    std::string_view checkFromOption;
    std::string_view checkEncodingOption;
    std::string_view checkJsonOption;
    std::string_view undoJournalOption;
    std::string_view batchOption;
    std::string_view undoDryRunOption;
    std::string_view listOption;
    std::string_view undoJsonOption;
    std::string_view catalogueJsonOption;

    // What the FILE arguments name: a list file's and a folder's problems, a wildcard that
    // matches nothing, a subfolder that cannot be listed (its reason).
    std::string_view listUnreadable;
    std::string_view listNamesNoFile;
    std::string_view listNotText;
    std::string_view noFileMatches;
    std::string_view noRawFile;
    std::string_view noRawFileTrySubfolders;
    std::string_view passedOver;
    // Header text read in a Western code page (its number) may be Chinese read wrongly.
    std::string_view codePageHint;
};

const ToolTexts& TextsIn(Language language);
const ToolTexts& EnglishTexts();
const ToolTexts& ChineseTexts();

// The pattern with each "{}" replaced by the next value.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values);

// "1 file", "2 files": the count in the pattern for one or for more.
std::string CountOf(size_t count, std::string_view one, std::string_view more);
