#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "TzrhdrRun.h"
#include "platform/Utf8.h"
#ifndef _WIN32
#include "platform/NativePath.h"
#endif

namespace {

std::string RawFileBytes() {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1",
                      "Date:2026-03-05", "Model:DRQ-X5", "AntHigh:1.523", "AntType:DRQK08",
                      "MeasureTo:2", "X:-2148744.1234", "Y:4426641.5678", "Z:4044656.9012",
                      "MARKER NAME:ABCD", "MARKER NUMBER:P01", "REC #:RN-7", "REC VERS:3.2.1"}) +
           ObservationData(4000);
}

enum class Twist {
    None,
    ChangedSince,
    UnwritableJournal,
    JournalIsARawFile,
    JournalIsALink,
    JournalIsADevice,
    NameNotUtf8,
    DamagedJournal,
    ReadOnlySince
};

struct UndoCase {
    const char* name;
    std::vector<std::wstring> edit;
    std::wstring newName;
    Twist twist = Twist::None;
};

class TzrhdrJournal : public testing::Test {
  protected:
    RunResult Run(std::vector<std::wstring> args) {
        args.insert(args.begin() + 1, {L"--journal", journal});
        return RunTool(args);
    }

    TemporaryDirectory directory;
    std::wstring journal = directory.PathOf(L"journal.jsonl");
};

class TzrhdrUndo : public TzrhdrJournal, public testing::WithParamInterface<UndoCase> {};

TEST_P(TzrhdrUndo, PutsBackEveryByteOfAFileTheBatchWroteAndLeavesAChangedOneAlone) {
    const UndoCase& c = GetParam();
    const std::string original = RawFileBytes();
    const std::wstring path = directory.WriteFile(L"ABCD045A.TZR", original);
    const std::wstring other = directory.WriteFile(L"ABCD045B.TZR", original);
    if (c.twist == Twist::UnwritableJournal)
        journal = directory.PathOf(L"ABCD045A.TZR") + L"/journal.jsonl";
    if (c.twist == Twist::JournalIsARawFile)
        journal = other;
    if (c.twist == Twist::JournalIsALink) {
#ifdef _WIN32
        GTEST_SKIP() << "links are made natively only";
#endif
        std::filesystem::create_symlink(FileSystemPath(journal),
                                        FileSystemPath(journal + L".link"));
        journal += L".link";
    }
#ifdef _WIN32
    if (c.twist == Twist::JournalIsADevice || c.twist == Twist::NameNotUtf8)
        GTEST_SKIP() << "POSIX names";
#else
    if (c.twist == Twist::JournalIsADevice)
        journal = L"/dev/zero";
    if (c.twist == Twist::NameNotUtf8) {
        // As unzip leaves the name of a Chinese Windows archive: bytes that are not UTF-8.
        const std::wstring odd =
            directory.PathOf(PathFromNative("\xb2\xe2\xd5\xbe"
                                            "045B.TZR"));
        std::filesystem::rename(FileSystemPath(other), FileSystemPath(odd));
        const RunResult refused = Run({L"set", L"--station", L"WXYZ", odd});
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("journal could not name it again"), std::string::npos)
            << refused.err;
        EXPECT_TRUE(ReadWholeFile(odd) == original);
        EXPECT_EQ(RunTool({L"check", odd}).status, 1);
        return;
    }
#endif
    std::vector<std::wstring> set = {L"set", L"--codepage", L"936"};
    set.insert(set.end(), c.edit.begin(), c.edit.end());
    set.insert(set.end(), {path, other});

    const RunResult edited = Run(set);
    if (c.twist == Twist::UnwritableJournal || c.twist == Twist::JournalIsARawFile ||
        c.twist == Twist::JournalIsALink || c.twist == Twist::JournalIsADevice) {
        EXPECT_EQ(edited.status, 1);
        EXPECT_NE(edited.err.find("cannot write the journal"), std::string::npos) << edited.err;
        EXPECT_TRUE(ReadWholeFile(path) == original && ReadWholeFile(other) == original);
        if (c.twist == Twist::JournalIsARawFile || c.twist == Twist::JournalIsADevice)
            EXPECT_NE(Run({L"undo", L"--list"}).err.find("not a tzrhdr journal"),
                      std::string::npos);
        return;
    }
    ASSERT_EQ(edited.status, 0) << edited.err;
    const std::wstring newPath = directory.PathOf(c.newName);
    ASSERT_FALSE(ReadWholeFile(newPath) == original);
    std::string changed = ReadWholeFile(newPath);
    if (c.twist == Twist::ChangedSince)
        directory.WriteFile(c.newName, changed.replace(0, 1, "W"));
    if (c.twist == Twist::DamagedJournal)
        directory.WriteFile(L"journal.jsonl", ReadWholeFile(journal) + "{\"entry\": \"int");

    if (c.twist == Twist::ReadOnlySince) {
        std::filesystem::permissions(FileSystemPath(newPath), std::filesystem::perms::owner_read);
        // A dry run is told the refusal that the undo then meets.
        const RunResult preview = Run({L"undo", L"--dry-run"});
        const RunResult refused = Run({L"undo"});
        std::filesystem::permissions(FileSystemPath(newPath), std::filesystem::perms::owner_all);
        EXPECT_EQ(preview.status, 1) << preview.out << preview.err;
        EXPECT_EQ(refused.status, 1) << refused.err;
        EXPECT_NE(preview.err.find("read-only"), std::string::npos) << preview.err;
        EXPECT_TRUE(ReadWholeFile(newPath) == changed);
        return;
    }
    const RunResult undone = Run({L"undo"});
    EXPECT_TRUE(ReadWholeFile(other) == original);
    if (c.twist == Twist::ChangedSince) {
        EXPECT_EQ(undone.status, 1);
        EXPECT_NE(undone.err.find("changed since the batch; left alone"), std::string::npos);
        EXPECT_TRUE(ReadWholeFile(newPath) == changed);
        return;
    }
    // A damaged journal may have lost files of the batch: no complete undo to report.
    EXPECT_EQ(undone.status, c.twist == Twist::DamagedJournal ? 1 : 0) << undone.err;
    EXPECT_TRUE(ReadWholeFile(path) == original);
    EXPECT_EQ(Exists(newPath), newPath == path);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, TzrhdrUndo,
    testing::Values(
        UndoCase{"InPlace", {L"--station-code", L"P02"}, L"ABCD045A.TZR"},
        UndoCase{
            "ThroughCopy", {L"--receiver-version", L"3.2.1 build 2026-03-01"}, L"ABCD045A.TZR"},
        UndoCase{"Rename", {L"--station", L"WXYZ"}, L"WXYZ045A.TZR"},
        UndoCase{"ShrinkingHeader", {L"--station-code", L""}, L"ABCD045A.TZR"},
        UndoCase{"ChangedSince", {L"--station-code", L"P02"}, L"ABCD045A.TZR", Twist::ChangedSince},
        UndoCase{"DamagedJournal", {L"--station", L"WXYZ"}, L"WXYZ045A.TZR", Twist::DamagedJournal},
        UndoCase{"UnwritableJournal",
                 {L"--station-code", L"P02"},
                 L"ABCD045A.TZR",
                 Twist::UnwritableJournal},
        UndoCase{"JournalIsARawFile",
                 {L"--station-code", L"P02"},
                 L"ABCD045A.TZR",
                 Twist::JournalIsARawFile},
        UndoCase{
            "JournalIsALink", {L"--station-code", L"P02"}, L"ABCD045A.TZR", Twist::JournalIsALink},
        UndoCase{"JournalIsADevice",
                 {L"--station-code", L"P02"},
                 L"ABCD045A.TZR",
                 Twist::JournalIsADevice},
        UndoCase{"NameNotUtf8", {}, L"", Twist::NameNotUtf8},
        UndoCase{"ReadOnlySince", {L"--station", L"WXYZ"}, L"WXYZ045A.TZR", Twist::ReadOnlySince}),
    [](const testing::TestParamInfo<UndoCase>& info) { return info.param.name; });

TEST_F(TzrhdrJournal, RepeatedUndoWalksBackAndTakingBackAnUndoRedoesIt) {
    const std::string original = RawFileBytes();
    const std::wstring path = directory.WriteFile(L"ABCD045A.TZR", original);
    ASSERT_EQ(Run({L"set", L"--station-code", L"P02", path}).status, 0);
    const std::string first = ReadWholeFile(path);
    ASSERT_EQ(Run({L"set", L"--station-code", L"P03", path}).status, 0);

    EXPECT_EQ(Run({L"undo"}).status, 0);
    EXPECT_TRUE(ReadWholeFile(path) == first);
    EXPECT_EQ(Run({L"undo"}).status, 0);
    EXPECT_TRUE(ReadWholeFile(path) == original);
    EXPECT_EQ(Run({L"undo"}).status, 1);

    const RunResult list = Run({L"undo", L"--list", L"--json"});
    ASSERT_TRUE(EndsWith(list.out, "}\n")) << list.err;
    const size_t lastLine = list.out.rfind('\n', list.out.size() - 2) + 1;
    const nlohmann::json newest = nlohmann::json::parse(list.out.substr(lastLine), nullptr, false);
    ASSERT_TRUE(newest.is_object()) << list.out;
    const std::string redone = newest.value("batch", "");
    EXPECT_EQ(Run({L"undo", L"--batch", std::wstring(redone.begin(), redone.end())}).status, 0);
    EXPECT_TRUE(ReadWholeFile(path) == first);
}

TEST_F(TzrhdrJournal, NamingTheBatchLooksAgainAtAFileThatWasGone) {
    const std::string original = RawFileBytes();
    const std::wstring path = directory.WriteFile(L"ABCD045A.TZR", original);
    ASSERT_EQ(Run({L"set", L"--station-code", L"P02", path}).status, 0);
    const std::wstring away = directory.PathOf(L"away");
    std::filesystem::rename(FileSystemPath(path), FileSystemPath(away));
    const RunResult gone = Run({L"undo"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("no longer exists"), std::string::npos) << gone.err;
    std::filesystem::rename(FileSystemPath(away), FileSystemPath(path));

    const RunResult list = Run({L"undo", L"--list", L"--json"});
    const size_t secondLine = list.out.find('\n') + 1;
    const nlohmann::json set = nlohmann::json::parse(list.out.substr(0, secondLine - 1));
    const nlohmann::json undo = nlohmann::json::parse(list.out.substr(secondLine));
    // The undo that found the file gone wrote nothing, so there is nothing it could be taken
    // back from.
    EXPECT_FALSE(undo.value("takenBack", true)) << list.out;
    const std::string id = set.value("batch", "");
    EXPECT_EQ(Run({L"undo", L"--batch", std::wstring(id.begin(), id.end())}).status, 0);
    EXPECT_TRUE(ReadWholeFile(path) == original);
}

}  // namespace

namespace {

enum class Stop { Fault, Kill };
enum class During { Set, Undo };

struct StopCase {
    const char* name;
    std::vector<std::wstring> edit;
    Stop stop;
    During during;
    // Another program's file stands at the first file's copy name, so that the save takes the
    // next one; it is never touched.
    bool othersCopyName = false;
};

class TzrhdrStops : public TzrhdrJournal, public testing::WithParamInterface<StopCase> {
  protected:
    RunResult RunThrough(FileSystem& files, std::vector<std::wstring> args) {
        args.insert(args.begin() + 1, {L"--journal", journal});
        std::ostringstream out, err;
        ToolEnvironment environment;
        environment.files = &files;
        const int status = RunTzrhdr(args, out, err, environment);
        return {status, out.str(), err.str()};
    }
};

// A batch of three files, stopped at every step of its set or of its undo by a failing or a
// killed file system: every file stays whole under exactly one name, the next undo puts every
// byte back, and the reports say what the disk holds.
TEST_P(TzrhdrStops, EveryStepOfSetAndUndoLeavesEveryFileRestorable) {
    // Hundreds of journalled runs: under Wine they would take most of the test run's time, and
    // the save's own steps are tested there one by one.
    if (!SystemFileSystem().CanReplaceOpenFile())
        GTEST_SKIP() << "run natively only";
    const StopCase& c = GetParam();
    const std::string original = RawFileBytes();
    const std::vector<std::wstring> names = {L"ABCD045A.TZR", L"ABCD045B.TZR", L"ABCD045C.TZR"};
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        TemporaryDirectory folder;
        journal = folder.PathOf(L"journal.jsonl");
        std::vector<std::wstring> set = {L"set"};
        set.insert(set.end(), c.edit.begin(), c.edit.end());
        for (const std::wstring& name : names)
            set.push_back(folder.WriteFile(name, original));
        const std::wstring othersFile = names[0] + L".tmp";
        if (c.othersCopyName)
            folder.WriteFile(othersFile, "notes");
        FaultyFileSystem files =
            c.stop == Stop::Kill ? FaultyFileSystem::KilledAt(step) : FaultyFileSystem(step);
        RunResult stopped;
        if (c.during == During::Set) {
            stopped = RunThrough(files, set);
        } else {
            ASSERT_EQ(Run(set).status, 0);
            stopped = RunThrough(files, {L"undo"});
        }
        size_t differing = 0;
        size_t wholeCopies = 0;
        for (const std::wstring& name : FileNamesIn(folder.PathOf(L""))) {
            const std::string bytes = ReadWholeFile(folder.PathOf(name));
            if (c.othersCopyName && name == othersFile) {
                EXPECT_EQ(bytes, "notes");
                continue;
            }
            // A kill may leave a copy half-written, or the old file beside the new one.
            if (name == L"journal.jsonl" || (c.stop == Stop::Kill && name.ends_with(L".tmp")))
                continue;
            EXPECT_FALSE(name.ends_with(L".tmp")) << ToUtf8(name);
            ++wholeCopies;
            EXPECT_TRUE(EndsWith(bytes, original.substr(original.size() - 4000)));
            differing += bytes == original ? 0 : 1;
        }
        if (c.stop == Stop::Fault) {
            EXPECT_EQ(wholeCopies, names.size()) << stopped.err;
        }
        if (stopped.status == 0) {
            EXPECT_EQ(differing, c.during == During::Set ? names.size() : 0) << stopped.err;
        }

        const RunResult undone = Run({L"undo"});
        if (differing > 0) {
            EXPECT_EQ(undone.status, 0) << undone.err;
            EXPECT_NE(undone.out.find(": " + std::to_string(differing) + " restored"),
                      std::string::npos)
                << undone.out << undone.err;
        }
        for (const std::wstring& name : names)
            EXPECT_TRUE(ReadWholeFile(folder.PathOf(name)) == original) << ToUtf8(name);
        // Nor does a copy that the stop left half-written survive the undo.
        std::vector<std::wstring> left = FileNamesIn(folder.PathOf(L""));
        std::erase(left, L"journal.jsonl");
        EXPECT_EQ(left.size(), names.size() + (c.othersCopyName ? 1 : 0));
        if (!files.Injected())
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Batches, TzrhdrStops,
    testing::Values(
        StopCase{"FaultRenamingCopySet",
                 {L"--station", L"WXYZ", L"--receiver-version", L"3.2.1 build 2026-03-01"},
                 Stop::Fault,
                 During::Set},
        StopCase{"KillRenamingSet", {L"--station", L"WXYZ"}, Stop::Kill, During::Set},
        StopCase{"FaultRenamingUndo", {L"--station", L"WXYZ"}, Stop::Fault, During::Undo},
        StopCase{"KillRenamingCopyUndo",
                 {L"--station", L"WXYZ", L"--receiver-version", L"3.2.1 build 2026-03-01"},
                 Stop::Kill,
                 During::Undo},
        StopCase{"KillCopySetBesideAnotherProgramsFile",
                 {L"--receiver-version", L"3.2.1 build 2026-03-01"},
                 Stop::Kill,
                 During::Set,
                 true}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

}  // namespace
