#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "header/RawFileRewrite.h"

namespace {

class RawFileRewrite : public testing::Test {
  protected:
    // A raw file whose header region is `region` bytes, followed by `data`.
    std::wstring MakeRawFile(const std::wstring& name, int32_t region) {
        oldHeader = std::string(static_cast<size_t>(region) - 2, 'h') + "\r\n";
        data = ObservationData(100000);
        return directory.WriteFile(name, oldHeader + data);
    }

    RewriteRequest Request(const std::wstring& current, const std::wstring& target,
                           size_t headerSize, int32_t region) {
        return {current, target, std::string(headerSize - 2, 'N') + "\r\n", region, false};
    }

    TemporaryDirectory directory;
    std::string oldHeader;
    std::string data;
};

TEST_F(RawFileRewrite, HeaderOfRegionLengthIsWrittenInPlace) {
    const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
    const RewriteRequest request = Request(path, path, 300, 300);
    const RewriteOutcome outcome = RewriteRawFile(SystemFileSystem(), request);
    EXPECT_TRUE(outcome.opened);
    EXPECT_EQ(outcome.error, L"");
    EXPECT_EQ(outcome.path, path);
    EXPECT_EQ(outcome.headerRegionLength, 300);
    EXPECT_TRUE(ReadWholeFile(path) == request.headerText + data);
}

TEST_F(RawFileRewrite, ShorterHeaderLeavesTheOldTailInPlace) {
    const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
    const RewriteRequest request = Request(path, path, 200, 300);
    const RewriteOutcome outcome = RewriteRawFile(SystemFileSystem(), request);
    EXPECT_EQ(outcome.headerRegionLength, 300);
    EXPECT_TRUE(ReadWholeFile(path) == request.headerText + oldHeader.substr(200) + data);
}

TEST_F(RawFileRewrite, OneByteLongerGoesThroughACopy) {
    const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
    const RewriteRequest request = Request(path, path, 301, 300);
    const RewriteOutcome outcome = RewriteRawFile(SystemFileSystem(), request);
    EXPECT_EQ(outcome.error, L"");
    EXPECT_EQ(outcome.headerRegionLength, 301);
    const std::string rewritten = ReadWholeFile(path);
    EXPECT_EQ(rewritten.size(), oldHeader.size() + data.size() - 300 + 301);
    EXPECT_EQ(rewritten, request.headerText + data);
    EXPECT_FALSE(Exists(path + L".tmp"));
}

TEST_F(RawFileRewrite, RenamesAfterTheStation) {
    for (size_t headerSize : {250u, 350u}) {
        const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
        const std::wstring target = directory.PathOf(L"EFGH123A.TZR");
        const RewriteOutcome outcome =
            RewriteRawFile(SystemFileSystem(), Request(path, target, headerSize, 300));
        EXPECT_EQ(outcome.error, L"");
        EXPECT_EQ(outcome.path, target);
        EXPECT_FALSE(Exists(path));
        EXPECT_TRUE(EndsWith(ReadWholeFile(target), data));
        std::filesystem::remove(std::filesystem::path(target));
    }
}

TEST_F(RawFileRewrite, ExistingTargetIsNeverReplacedUnasked) {
    for (size_t headerSize : {250u, 350u}) {
        const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
        const std::wstring other = directory.WriteFile(L"EFGH123A.TZR", "other station");
        const RewriteOutcome outcome =
            RewriteRawFile(SystemFileSystem(), Request(path, other, headerSize, 300));
        EXPECT_NE(outcome.error, L"");
        EXPECT_EQ(outcome.path, path);
        EXPECT_TRUE(ReadWholeFile(other) == "other station");
        EXPECT_TRUE(EndsWith(ReadWholeFile(path), data));
    }
}

TEST_F(RawFileRewrite, ExistingTargetIsReplacedWhenAsked) {
    for (size_t headerSize : {250u, 350u}) {
        const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
        const std::wstring other = directory.WriteFile(L"EFGH123A.TZR", "other station");
        RewriteRequest request = Request(path, other, headerSize, 300);
        request.replaceExisting = true;
        const RewriteOutcome outcome = RewriteRawFile(SystemFileSystem(), request);
        EXPECT_EQ(outcome.error, L"");
        EXPECT_EQ(outcome.path, other);
        EXPECT_FALSE(Exists(path));
        EXPECT_TRUE(EndsWith(ReadWholeFile(other), data));
    }
}

TEST_F(RawFileRewrite, LeftOverCopyFileIsOverwritten) {
    const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
    directory.WriteFile(L"ABCD123A.TZR.tmp", std::string(500000, 'x'));
    const RewriteRequest request = Request(path, path, 400, 300);
    EXPECT_EQ(RewriteRawFile(SystemFileSystem(), request).error, L"");
    EXPECT_TRUE(ReadWholeFile(path) == request.headerText + data);
    EXPECT_FALSE(Exists(path + L".tmp"));
}

TEST_F(RawFileRewrite, OtherSpellingOfTheSameFileIsNoOtherFile) {
    const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
    const std::filesystem::path file(path);
    const std::wstring dotted = (file.parent_path() / "." / file.filename()).wstring();
    EXPECT_FALSE(NewPathNamesAnotherFile(SystemFileSystem(), path, dotted));
    EXPECT_FALSE(NewPathNamesAnotherFile(SystemFileSystem(), path, path));
    EXPECT_FALSE(NewPathNamesAnotherFile(SystemFileSystem(), path, directory.PathOf(L"NONE.TZR")));
    const std::wstring other = directory.WriteFile(L"EFGH123A.TZR", "x");
    EXPECT_TRUE(NewPathNamesAnotherFile(SystemFileSystem(), path, other));

    const RewriteOutcome outcome =
        RewriteRawFile(SystemFileSystem(), Request(path, dotted, 350, 300));
    EXPECT_EQ(outcome.error, L"");
    EXPECT_TRUE(EndsWith(ReadWholeFile(path), data));
}

TEST_F(RawFileRewrite, FileHeldByAnotherProgramIsNotOpened) {
    const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
    FileStatus status;
    std::unique_ptr<OpenedFile> held =
        SystemFileSystem().Open(path, OpenMode::ReadExisting, status);
    ASSERT_TRUE(held);
    for (size_t headerSize : {250u, 350u}) {
        const RewriteOutcome outcome = RewriteRawFile(
            SystemFileSystem(), Request(path, directory.PathOf(L"EFGH123A.TZR"), headerSize, 300));
        EXPECT_FALSE(outcome.opened);
        EXPECT_EQ(outcome.path, path);
    }
    held.reset();
    EXPECT_TRUE(ReadWholeFile(path) == oldHeader + data);
}

struct FaultCase {
    const char* name;
    size_t headerSize;
    bool rename;
    bool existingTarget;
};

class RawFileRewriteFaults : public RawFileRewrite,
                             public testing::WithParamInterface<FaultCase> {};

TEST_P(RawFileRewriteFaults, NoFailureAtAnyStepLosesData) {
    const FaultCase& c = GetParam();
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE(failAt);
        const std::wstring path = MakeRawFile(L"ABCD123A.TZR", 300);
        const std::wstring unrelated = directory.WriteFile(L"UNRELATED.TZR", "unrelated");
        const std::wstring target = c.rename ? directory.PathOf(L"EFGH123A.TZR") : path;
        if (c.existingTarget)
            directory.WriteFile(L"EFGH123A.TZR", "other station");
        RewriteRequest request = Request(path, target, c.headerSize, 300);
        request.replaceExisting = c.existingTarget;

        FaultyFileSystem files(failAt);
        const RewriteOutcome outcome = RewriteRawFile(files, request);

        const bool complete = (Exists(path) && EndsWith(ReadWholeFile(path), data)) ||
                              (Exists(target) && EndsWith(ReadWholeFile(target), data));
        EXPECT_TRUE(complete);
        EXPECT_TRUE(Exists(outcome.path));
        EXPECT_TRUE(EndsWith(ReadWholeFile(outcome.path), data));
        EXPECT_TRUE(ReadWholeFile(unrelated) == "unrelated");
        EXPECT_FALSE(Exists(path + L".tmp"));
        if (c.existingTarget && outcome.path != target) {
            EXPECT_TRUE(ReadWholeFile(target) == "other station");
        }
        if (!files.Injected()) {
            EXPECT_EQ(outcome.error, L"");
            EXPECT_EQ(outcome.path, target);
            EXPECT_TRUE(ReadWholeFile(target).substr(0, c.headerSize) == request.headerText);
            break;
        }
        EXPECT_FALSE(outcome.error.empty());
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
            std::filesystem::remove(entry.path());
    }
}

INSTANTIATE_TEST_SUITE_P(Strategies, RawFileRewriteFaults,
                         testing::Values(FaultCase{"InPlace", 250, false, false},
                                         FaultCase{"InPlaceRenamed", 250, true, false},
                                         FaultCase{"InPlaceReplacingTarget", 250, true, true},
                                         FaultCase{"Copy", 350, false, false},
                                         FaultCase{"CopyRenamed", 350, true, false},
                                         FaultCase{"CopyReplacingTarget", 350, true, true}),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             return info.param.name;
                         });

}  // namespace
