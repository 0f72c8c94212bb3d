#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "header/LegacyAntennaTable.h"
#include "header/StationHeader.h"

struct HeaderReadOptions {
    // 0 reads header text in the system's ANSI code page.
    unsigned codePage = 0;
    int legacyAntennaCount = LegacyAntennaCount();
    // What a save checks the file against before it writes (`StationHeader::snapshot`); a read
    // that only looks, as a check of thousands of files, spares the extra system call.
    bool forSave = true;
    // Without forSave, keeps the header region in the snapshot all the same, and the bytes read
    // for its size: what a campaign save compares the file with to see it unchanged since it was
    // read, without the system call.
    bool keepRegion = false;
};

// Why a read stopped, or what it found missing on the way; each front end words it.
enum class ReaderMessage {
    // The file cannot be opened; the message names the path.
    CannotOpen,
    NoVersion,
    NoReceiverId,
    // The read goes on without a date.
    NoDate,
    DateTooLong,
};

// One thing the user is to be shown while a file is read.
struct ReaderStep {
    enum class Kind { Path, Message, Record, TimeOfFirstObs };
    Kind kind;
    // The path (also of a message that the file cannot be opened), or the time of the first
    // observation.
    std::wstring text;
    ReaderMessage message = ReaderMessage::CannotOpen;
};

// What the user is to be shown of a read, in the order it is to be shown.
struct ReaderReport {
    std::vector<ReaderStep> steps;

    // The messages alone, for a tool that shows no window.
    std::vector<ReaderMessage> Messages() const;
};

// Why a read did not take the record.
struct ReadFailure {
    // The system's reason when the file cannot be read at all; empty when it can.
    std::wstring systemReason;
    // What the reader said; empty when it said nothing.
    std::vector<ReaderMessage> messages;
};

// Fills `header` from the raw file at `path`, mapping its antenna type onto `catalogue`.
// `header.headerLoaded` tells whether the whole header was taken.
ReaderReport ReadStationHeader(const std::wstring& path, const AntennaCatalogue& catalogue,
                               StationHeader& header, const HeaderReadOptions& options = {});

// The text up to its first CR or LF.
std::string_view CutLineEnds(std::string_view text);

std::wstring AnsiToWide(std::string_view text, unsigned codePage);
