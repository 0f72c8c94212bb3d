#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "header/RawFileRewrite.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kRegion = 300;

// Every name in a folder with what it holds: a link's target, or a file's bytes.
std::map<std::wstring, std::string> FolderContents(const std::wstring& folder) {
    std::map<std::wstring, std::string> contents;
    for (const auto& entry : fs::directory_iterator(FileSystemPath(folder))) {
        const std::wstring name = entry.path().filename().wstring();
        contents[name] = entry.is_symlink() ? "link to " + fs::read_symlink(entry.path()).string()
                                            : ReadWholeFile(entry.path().wstring());
    }
    return contents;
}

// A raw file as the reader left it, the save's request for it, and whatever the situation puts
// around it.
struct Scene {
    TemporaryDirectory directory;
    std::string data = ObservationData(100000);
    std::string oldHeader = std::string(kRegion - 2, 'h') + "\r\n";
    std::wstring path = directory.WriteFile(L"ABCD123A.TZR", oldHeader + data);
    RewriteRequest request;
    // Another save holds the file while this one runs.
    bool heldElsewhere = false;

    Scene(size_t headerSize, bool rename) {
        request.currentPath = path;
        request.newPath = rename ? directory.PathOf(L"EFGH123A.TZR") : path;
        request.headerText = std::string(headerSize - 2, 'N') + "\r\n";
        request.before = *TakeSnapshot(SystemFileSystem(), path, kRegion);
    }

    std::wstring Folder() const { return fs::path(FileSystemPath(path)).parent_path().wstring(); }
    std::string Saved() const {
        if (request.headerText.size() > kRegion || request.exactHeader)
            return request.headerText + data;
        return HeaderForRegion(request.headerText, kRegion) + data;
    }
};

bool Link(const std::wstring& link, const std::wstring& target) {
    std::error_code error;
    fs::create_symlink(FileSystemPath(target), FileSystemPath(link), error);
    return !error;
}

struct Situation {
    const char* name;
    size_t headerSize;
    bool rename;
    // Sets the scene up after the read; false when this system cannot make the situation.
    bool (*prepare)(Scene&);
    RewriteRefusal expected;
};

class RawFileRewriteSituations : public testing::TestWithParam<Situation> {};

// Either the save went through and the file under its new name holds the new header in front of
// the data, or nothing in the folder changed; in both cases no other name was touched.
TEST_P(RawFileRewriteSituations, KeepsTheDataWholeUnderOneName) {
    const Situation& situation = GetParam();
    Scene scene(situation.headerSize, situation.rename);
    if (!situation.prepare(scene))
        GTEST_SKIP() << "this system cannot make the situation";
    const std::map<std::wstring, std::string> before = FolderContents(scene.Folder());

    FileStatus status;
    std::unique_ptr<OpenedFile> held;
    if (scene.heldElsewhere)
        held = SystemFileSystem().Open(scene.path, OpenMode::Rewrite, status);
    // A dry run is told the same refusal, and writes nothing.
    const std::optional<RewriteOutcome> probe =
        RewriteRefusalBeforeWriting(SystemFileSystem(), scene.request);
    EXPECT_EQ(probe ? probe->refusal : RewriteRefusal::None, situation.expected);
    // Windows lets no one read a file that a save holds.
    EXPECT_TRUE(scene.heldElsewhere || FolderContents(scene.Folder()) == before);
    const RewriteOutcome outcome = RewriteRawFile(SystemFileSystem(), scene.request);
    held.reset();

    EXPECT_EQ(outcome.refusal, situation.expected);
    std::map<std::wstring, std::string> after = FolderContents(scene.Folder());
    if (situation.expected != RewriteRefusal::None) {
        EXPECT_EQ(outcome.path, scene.request.currentPath);
        EXPECT_TRUE(after == before);
        return;
    }
    EXPECT_EQ(outcome.error, L"");
    EXPECT_EQ(outcome.path, scene.request.newPath);
    EXPECT_TRUE(ReadWholeFile(outcome.path) == scene.Saved());
    EXPECT_TRUE(scene.Saved().starts_with(outcome.after.headerRegion));
    EXPECT_EQ(outcome.after.headerRegion.size(), scene.Saved().size() - scene.data.size());
    const std::wstring savedName = fs::path(FileSystemPath(outcome.path)).filename().wstring();
    after.erase(savedName);
    for (const auto& [name, contents] : after) {
        SCOPED_TRACE(fs::path(name).string());
        const std::wstring other = scene.directory.PathOf(name);
        const bool sameFile = SystemFileSystem().SameFile(other, outcome.path);
        EXPECT_TRUE(sameFile ? contents == scene.Saved()
                             : before.contains(name) && before.at(name) == contents);
    }
    if (situation.rename) {
        EXPECT_FALSE(after.contains(L"ABCD123A.TZR"));
    }
}

bool Nothing(Scene&) {
    return true;
}

bool ExactHeader(Scene& scene) {
    scene.request.exactHeader = true;
    return true;
}

bool LinkToTheRawFile(Scene& scene) {
    const std::wstring link = scene.directory.PathOf(L"LINK123A.TZR");
    scene.request.currentPath = link;
    return Link(link, scene.path);
}

bool LinkAtTheNewName(Scene& scene) {
    return Link(scene.request.newPath, scene.directory.WriteFile(L"VICTIM.DAT", "victim"));
}

bool LinkAtTheNewNameReplacedWhenAsked(Scene& scene) {
    scene.request.replaceExisting = true;
    return LinkAtTheNewName(scene);
}

bool OtherFileAtTheNewName(Scene& scene) {
    scene.directory.WriteFile(L"EFGH123A.TZR", "other station");
    return true;
}

bool OtherFileReplacedWhenAsked(Scene& scene) {
    scene.request.replaceExisting = true;
    return OtherFileAtTheNewName(scene);
}

bool ExistingTemporaryFile(Scene& scene) {
    scene.directory.WriteFile(L"ABCD123A.TZR.tmp", std::string(5000, 'x'));
    return true;
}

bool ExistingTemporaryLink(Scene& scene) {
    return Link(scene.path + L".tmp", scene.directory.WriteFile(L"VICTIM.DAT", "victim"));
}

bool ReadOnlyFile(Scene& scene) {
    fs::permissions(FileSystemPath(scene.path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    return true;
}

bool HardLinkedFile(Scene& scene) {
    std::error_code error;
    fs::create_hard_link(FileSystemPath(scene.path),
                         FileSystemPath(scene.directory.PathOf(L"SECOND.TZR")), error);
    return !error;
}

bool ReplacedAfterTheRead(Scene& scene) {
    const std::wstring newcomer =
        scene.directory.WriteFile(L"NEWCOMER.TZR", "short header\r\n" + scene.data);
    fs::rename(FileSystemPath(newcomer), FileSystemPath(scene.path));
    return true;
}

bool HeaderChangedAfterTheRead(Scene& scene) {
    scene.directory.WriteFile(L"ABCD123A.TZR", "X" + scene.oldHeader.substr(1) + scene.data);
    return true;
}

bool HeldByAnotherSave(Scene& scene) {
    scene.heldElsewhere = true;
    return true;
}

bool OtherSpellingOfTheSameFile(Scene& scene) {
    const fs::path file(FileSystemPath(scene.path));
    scene.request.newPath = (file.parent_path() / "." / file.filename()).wstring();
    return true;
}

// The station's letter case alone changes: the name on disk follows, also where the file
// system takes both spellings for one name.
bool StationInOtherCase(Scene& scene) {
    scene.request.newPath = scene.directory.PathOf(L"abcd123A.TZR");
    return true;
}

INSTANTIATE_TEST_SUITE_P(
    Situations, RawFileRewriteSituations,
    testing::Values(
        Situation{"HeaderOfRegionLengthInPlace", 300, false, Nothing, RewriteRefusal::None},
        Situation{"ShorterHeaderPaddedInPlace", 200, false, Nothing, RewriteRefusal::None},
        Situation{"OneByteLongerThroughACopy", 301, false, Nothing, RewriteRefusal::None},
        Situation{"ExactShorterHeaderThroughACopy", 200, true, ExactHeader, RewriteRefusal::None},
        Situation{"RenamedInPlace", 250, true, Nothing, RewriteRefusal::None},
        Situation{"RenamedThroughACopy", 350, true, Nothing, RewriteRefusal::None},
        Situation{"OtherSpellingInPlace", 250, true, OtherSpellingOfTheSameFile,
                  RewriteRefusal::None},
        Situation{"OtherSpellingThroughACopy", 350, true, OtherSpellingOfTheSameFile,
                  RewriteRefusal::None},
        Situation{"CaseOnlyInPlace", 250, true, StationInOtherCase, RewriteRefusal::None},
        Situation{"CaseOnlyThroughACopy", 350, true, StationInOtherCase, RewriteRefusal::None},
        Situation{"LinkToTheFileInPlace", 250, false, LinkToTheRawFile, RewriteRefusal::Link},
        Situation{"LinkToTheFileThroughACopy", 350, true, LinkToTheRawFile, RewriteRefusal::Link},
        Situation{"LinkAtTheNewName", 350, true, LinkAtTheNewName, RewriteRefusal::TargetExists},
        Situation{"LinkAtTheNewNameReplaced", 350, true, LinkAtTheNewNameReplacedWhenAsked,
                  RewriteRefusal::None},
        Situation{"OtherFileAtTheNewName", 250, true, OtherFileAtTheNewName,
                  RewriteRefusal::TargetExists},
        Situation{"OtherFileReplacedInPlace", 250, true, OtherFileReplacedWhenAsked,
                  RewriteRefusal::None},
        Situation{"OtherFileReplacedThroughACopy", 350, true, OtherFileReplacedWhenAsked,
                  RewriteRefusal::None},
        Situation{"ExistingTemporaryFile", 350, false, ExistingTemporaryFile, RewriteRefusal::None},
        Situation{"ExistingTemporaryLink", 350, true, ExistingTemporaryLink, RewriteRefusal::None},
        Situation{"ReadOnlyInPlace", 250, false, ReadOnlyFile, RewriteRefusal::ReadOnly},
        Situation{"ReadOnlyThroughACopy", 350, true, ReadOnlyFile, RewriteRefusal::ReadOnly},
        Situation{"HardLinkedInPlace", 250, false, HardLinkedFile, RewriteRefusal::None},
        Situation{"HardLinkedThroughACopy", 350, false, HardLinkedFile, RewriteRefusal::HardLinked},
        Situation{"ReplacedAfterTheRead", 250, false, ReplacedAfterTheRead,
                  RewriteRefusal::ChangedSinceRead},
        Situation{"HeaderChangedAfterTheRead", 350, true, HeaderChangedAfterTheRead,
                  RewriteRefusal::ChangedSinceRead},
        Situation{"HeldByAnotherSave", 250, true, HeldByAnotherSave, RewriteRefusal::InUse}),
    [](const testing::TestParamInfo<Situation>& info) { return info.param.name; });

struct Strategy {
    const char* name;
    size_t headerSize;
    bool rename;
    bool existingTarget;
};

class RawFileRewriteSteps : public testing::TestWithParam<Strategy> {};

// The data are complete under the name the outcome gives; under no other, and no temporary file
// is left, unless the save reported that it could not remove the old file.
void ExpectOneCompleteCopy(const Scene& scene, const RewriteOutcome& outcome) {
    const std::map<std::wstring, std::string> contents = FolderContents(scene.Folder());
    int copies = 0;
    for (const auto& [name, bytes] : contents)
        copies += EndsWith(bytes, scene.data) ? 1 : 0;
    EXPECT_GE(copies, 1);
    EXPECT_TRUE(EndsWith(ReadWholeFile(outcome.path), scene.data));
    if (outcome.Succeeded()) {
        EXPECT_EQ(copies, 1);
        EXPECT_FALSE(Exists(scene.path + L".tmp"));
    }
}

// What the outcome says is on disk is what is on disk.
void ExpectOutcomeIsOnDisk(const Scene& scene, const RewriteOutcome& outcome) {
    const std::string original = scene.oldHeader + scene.data;
    const bool renaming = scene.request.newPath != scene.path;
    switch (outcome.onDisk) {
        case OnDisk::Unchanged:
            EXPECT_EQ(outcome.path, scene.path);
            EXPECT_TRUE(ReadWholeFile(scene.path) == original);
            break;
        case OnDisk::Saved:
            EXPECT_EQ(outcome.path, scene.request.newPath);
            EXPECT_TRUE(ReadWholeFile(outcome.path) == scene.Saved());
            EXPECT_TRUE(!renaming || !Exists(scene.path));
            break;
        case OnDisk::WrittenNotRenamed:
            EXPECT_EQ(outcome.path, scene.path);
            EXPECT_TRUE(ReadWholeFile(scene.path) == scene.Saved());
            break;
        case OnDisk::SavedOldKept:
            EXPECT_TRUE(ReadWholeFile(scene.request.newPath) == scene.Saved());
            EXPECT_TRUE(ReadWholeFile(scene.path) == original);
            break;
        case OnDisk::Torn:
            ADD_FAILURE() << "a single fault tore the header";
            break;
    }
}

TEST_P(RawFileRewriteSteps, NoFailureAtAnyStepLosesData) {
    const Strategy& strategy = GetParam();
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE(failAt);
        Scene scene(strategy.headerSize, strategy.rename);
        if (strategy.existingTarget) {
            scene.directory.WriteFile(L"EFGH123A.TZR", "other station");
            scene.request.replaceExisting = true;
        }
        FaultyFileSystem files(failAt);
        const RewriteOutcome outcome = RewriteRawFile(files, scene.request);

        ExpectOneCompleteCopy(scene, outcome);
        ExpectOutcomeIsOnDisk(scene, outcome);
        if (strategy.existingTarget && outcome.path != scene.request.newPath) {
            EXPECT_TRUE(ReadWholeFile(scene.request.newPath) == "other station");
        }
        // A save may get round a failure (a name swap the system refuses) but never report
        // success for what it did not write.
        if (outcome.Succeeded()) {
            EXPECT_EQ(outcome.path, scene.request.newPath);
            EXPECT_TRUE(ReadWholeFile(outcome.path) == scene.Saved());
        }
        if (!files.Injected()) {
            EXPECT_TRUE(outcome.Succeeded());
            break;
        }
    }
}

// A second save of the same file, from the same read, comes between each two steps of the
// first: one of them wins whole, the other changes nothing.
TEST_P(RawFileRewriteSteps, SecondSaveBetweenAnyTwoStepsLosesNothing) {
    const Strategy& strategy = GetParam();
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        Scene scene(strategy.headerSize, strategy.rename);
        RewriteRequest second = scene.request;
        second.headerText = std::string(strategy.headerSize - 2, 'S') + "\r\n";
        RewriteOutcome secondOutcome;
        FaultyFileSystem files(step,
                               [&] { secondOutcome = RewriteRawFile(SystemFileSystem(), second); });
        const RewriteOutcome outcome = RewriteRawFile(files, scene.request);
        if (!files.Injected())
            break;

        const RewriteOutcome& last =
            secondOutcome.Succeeded() && !outcome.Succeeded() ? secondOutcome : outcome;
        ExpectOneCompleteCopy(scene, last);
        EXPECT_TRUE(outcome.Succeeded() || secondOutcome.Succeeded());
        const std::string saved = ReadWholeFile(last.path);
        EXPECT_TRUE(saved.starts_with(scene.request.headerText.substr(0, 10)) ||
                    saved.starts_with(second.headerText.substr(0, 10)));
        // Where the system can replace an open file, the first save holds it to the end.
        if (SystemFileSystem().CanReplaceOpenFile()) {
            EXPECT_FALSE(outcome.Succeeded() && secondOutcome.Succeeded());
        }
    }
}

// Another program swaps the raw file's name with another file's between each two steps: neither
// file's data is lost, whichever of them ends up with the new header.
TEST_P(RawFileRewriteSteps, NamesSwappedBetweenAnyTwoStepsLoseNothing) {
    const Strategy& strategy = GetParam();
    // Windows cannot replace a file that is open, so a copy that keeps the name checks the name
    // and replaces it in two steps; a swap exactly between them is not caught there.
    if (!SystemFileSystem().CanReplaceOpenFile() && !strategy.rename &&
        strategy.headerSize > kRegion)
        GTEST_SKIP() << "a name swap between the last check and the replace";
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        Scene scene(strategy.headerSize, strategy.rename);
        const std::string otherData = ObservationData(3000) + "other";
        const std::wstring other =
            scene.directory.WriteFile(L"OTHER123A.TZR", scene.oldHeader + otherData);
        FaultyFileSystem files(step, [&] {
            const fs::path aside = FileSystemPath(scene.directory.PathOf(L"ASIDE"));
            std::error_code error;
            fs::rename(FileSystemPath(scene.path), aside, error);
            fs::rename(FileSystemPath(other), FileSystemPath(scene.path), error);
            fs::rename(aside, FileSystemPath(other), error);
        });
        RewriteRawFile(files, scene.request);
        if (!files.Injected())
            break;
        int ours = 0;
        int others = 0;
        for (const auto& [name, bytes] : FolderContents(scene.Folder())) {
            ours += EndsWith(bytes, scene.data) ? 1 : 0;
            others += EndsWith(bytes, otherData) ? 1 : 0;
        }
        EXPECT_GE(ours, 1);
        EXPECT_EQ(others, 1);
    }
}

// Another program that takes no lock writes over the file's bytes between each two steps, as a
// copy over it would: what it wrote is never lost.
TEST_P(RawFileRewriteSteps, WritesByAnotherProgramBetweenAnyTwoStepsAreKept) {
    const Strategy& strategy = GetParam();
    if (!SystemFileSystem().CanReplaceOpenFile() && !strategy.rename &&
        strategy.headerSize > kRegion)
        GTEST_SKIP() << "a write between the last check and the replace";
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        Scene scene(strategy.headerSize, strategy.rename);
        const std::string otherData = ObservationData(3000) + "other";
        bool wrote = false;
        FaultyFileSystem files(step, [&] {
            std::ofstream stream(FileSystemPath(scene.path), std::ios::binary | std::ios::in);
            wrote = static_cast<bool>(stream << scene.oldHeader << otherData);
        });
        RewriteRawFile(files, scene.request);
        if (!files.Injected())
            break;
        bool kept = false;
        for (const auto& [name, bytes] : FolderContents(scene.Folder()))
            kept = kept || bytes.find(otherData) != std::string::npos;
        EXPECT_TRUE(kept || !wrote);
    }
}

// Another program copies the file and puts the copy under its name between each two steps, as
// editors and sync tools save: the outcome still says what the name holds.
TEST_P(RawFileRewriteSteps, CopyPutUnderTheNameBetweenAnyTwoStepsIsReportedAsOnDisk) {
    const Strategy& strategy = GetParam();
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        Scene scene(strategy.headerSize, strategy.rename);
        FaultyFileSystem files(step, [&] {
            const fs::path copy = FileSystemPath(scene.directory.PathOf(L"COPY"));
            std::error_code error;
            if (fs::copy_file(FileSystemPath(scene.path), copy, error))
                fs::rename(copy, FileSystemPath(scene.path), error);
        });
        const RewriteOutcome outcome = RewriteRawFile(files, scene.request);
        if (!files.Injected())
            break;
        ExpectOutcomeIsOnDisk(scene, outcome);
    }
}

INSTANTIATE_TEST_SUITE_P(Strategies, RawFileRewriteSteps,
                         testing::Values(Strategy{"InPlace", 250, false, false},
                                         Strategy{"InPlaceRenamed", 250, true, false},
                                         Strategy{"InPlaceReplacingTarget", 250, true, true},
                                         Strategy{"Copy", 350, false, false},
                                         Strategy{"CopyRenamed", 350, true, false},
                                         Strategy{"CopyReplacingTarget", 350, true, true}),
                         [](const testing::TestParamInfo<Strategy>& info) {
                             return info.param.name;
                         });

}  // namespace
