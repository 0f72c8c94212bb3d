#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "campaign/CampaignSheet.h"
#include "campaign/FileReadFailure.h"

namespace {

constexpr unsigned kCodePage = 936;
constexpr size_t kStation = 0;
constexpr size_t kHeight = 2;
constexpr size_t kAntenna = 3;
constexpr size_t kX = 9;

std::string Header(const std::string& station, const std::string& height) {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1",
                      "Date:2026-03-05", "Model:DRQ-X5", "AntHigh:" + height, "AntType:DRQK08",
                      "MeasureTo:2", "X:-2148744.1234", "Y:4426641.5678", "Z:4044656.9012",
                      "MARKER NAME:" + station, "REC #:RN-7", "REC TYPE:DRQ-X5", "ANT TYPE:DRQK08",
                      "INTERVAL:15.0"});
}

class Sheet : public testing::Test {
  protected:
    Sheet() {
        catalogue_.UseDefaultList();
        Add(L"ABCD045A.TZR", Header("ABCD", "1.523"));
        Add(L"EFGH045A.TZR", Header("EFGH", "0"));
        Add(L"IJKL045A.TZR", Header("IJKL", "2.1"));
        Add(L"MNOP045A.TZR", "not a raw file");
        sheet_.Recheck();
    }

    void Add(const std::wstring& name, const std::string& header) {
        const std::wstring path = directory_.WriteFile(name, header + ObservationData(300));
        sheet_.Add(Read(path));
    }

    CheckedFile Read(const std::wstring& path) const {
        // As the campaign window reads its rows: the header region, not the file's facts.
        HeaderReadOptions options;
        options.codePage = kCodePage;
        options.forSave = false;
        options.keepRegion = true;
        return ReadCheckedFile(SystemFileSystem(), path, catalogue_, options);
    }

    TemporaryDirectory directory_;
    AntennaCatalogue catalogue_;
    CampaignSheet sheet_{catalogue_, kCodePage};
};

TEST_F(Sheet, ValuesAreCheckedAsTheSaveChecksThem) {
    using Reason = CellRefusal::Reason;
    struct Case {
        size_t row;
        size_t field;
        std::wstring text;
        std::optional<Reason> refused;
        bool edited;
        // What the cell shows when the value was taken.
        std::wstring shown = {};
    };
    const Case cases[] = {
        {0, kHeight, L"1.6", std::nullopt, true, L"1.600"},
        {0, kHeight, L"1.5230", std::nullopt, false},
        {0, kHeight, L"1.6m", Reason::FieldValue, false},
        {0, kAntenna, L"NOSUCH", Reason::FieldValue, false},
        {0, kStation, L"AB/CD", Reason::ValueRefused, false},
        {0, kStation, L"\x6D4B\x7AD9", std::nullopt, true, L"\x6D4B\x7AD9"},
        {0, kX, L"1e308", Reason::FieldValue, false},
        {3, kHeight, L"1.6", Reason::Unreadable, false},
    };
    for (const Case& c : cases) {
        const std::optional<CellRefusal> refusal = sheet_.Apply({{c.row, c.field, c.text}});
        EXPECT_EQ(refusal ? std::optional(refusal->reason) : std::nullopt, c.refused) << c.text;
        EXPECT_EQ(refusal ? refusal->field : c.field, c.field) << c.text;
        EXPECT_EQ(sheet_.Edited(c.row, c.field), c.edited) << c.text;
        EXPECT_EQ(c.edited ? sheet_.Text(c.row, FieldColumn(c.field)) : c.shown, c.shown) << c.text;
        while (sheet_.Undo()) {
        }
    }
}

TEST_F(Sheet, AFillIsOneStepToUndoAndRedo) {
    ASSERT_EQ(sheet_.Text(1, FindingsColumn()), L"height-missing");
    ASSERT_FALSE(sheet_.Apply({{0, kHeight, L"1.8"}, {1, kHeight, L"1.8"}, {2, kHeight, L"1.8"}}));
    EXPECT_EQ(sheet_.Text(1, FieldColumn(kHeight)), L"1.800");
    EXPECT_EQ(sheet_.Text(1, FindingsColumn()), L"");
    ASSERT_TRUE(sheet_.Undo());
    for (const size_t row : {0, 1, 2})
        EXPECT_FALSE(sheet_.Edited(row, kHeight)) << row;
    EXPECT_EQ(sheet_.Text(1, FindingsColumn()), L"height-missing");
    EXPECT_FALSE(sheet_.Undo());
    ASSERT_TRUE(sheet_.Redo());
    EXPECT_TRUE(sheet_.Edited(2, kHeight));
    EXPECT_FALSE(sheet_.Redo());
}

// The save writes the rows' values, refuses a file that another program changed after it was
// read, and leaves it as that program left it.
TEST_F(Sheet, SaveAllKeepsAFileChangedSinceItWasRead) {
    ASSERT_FALSE(sheet_.Apply({{0, kHeight, L"1.8"}, {1, kStation, L"WXYZ"}, {2, kHeight, L"3"}}));
    const std::string changed = Header("IJKL", "2.2") + ObservationData(300);
    directory_.WriteFile(L"IJKL045A.TZR", changed);
    // Its observation data taken away, by a program that left the header as it was.
    const std::string cut = Header("ABCD", "1.523");
    directory_.WriteFile(L"ABCD045A.TZR", cut);

    std::vector<size_t> rows;
    SetBatchRequest request = sheet_.SaveRequest(rows);
    ASSERT_EQ(rows, (std::vector<size_t>{0, 1, 2}));
    struct Results : SetBatchListener {
        void Done(size_t, const SetFileResult& file) override { files.push_back(file); }
        std::vector<SetFileResult> files;
    } result;
    // The preview, read as a check reads, tells as much through a file system that opens nothing.
    FaultyFileSystem opensNothing = FaultyFileSystem::KilledAt(1);
    for (const bool preview : {true, false}) {
        request.dryRun = request.dryRunAsCheck = preview;
        request.fileSystem = preview ? &opensNothing : &SystemFileSystem();
        result.files.clear();
        RunSetBatch(request, catalogue_, result);
        ASSERT_EQ(result.files.size(), 3u);
        EXPECT_EQ(result.files[0].problem, SetProblem::ChangedSinceRead) << preview;
        EXPECT_EQ(result.files[1].status, SetStatus::Renamed) << preview;
        EXPECT_EQ(result.files[2].problem, SetProblem::ChangedSinceRead) << preview;
        EXPECT_EQ(ReadWholeFile(directory_.PathOf(L"IJKL045A.TZR")), changed);
        EXPECT_EQ(ReadWholeFile(directory_.PathOf(L"ABCD045A.TZR")), cut);
    }

    sheet_.Replace(1, Read(result.files[1].newPath));
    EXPECT_EQ(sheet_.Text(1, kFileNameColumn), L"WXYZ045A.TZR");
    EXPECT_FALSE(sheet_.Edited(1, kStation));
    EXPECT_FALSE(sheet_.CanUndo());
}

TEST_F(Sheet, ViewsSortByValueFilterAndFind) {
    EXPECT_EQ(sheet_.View(FieldColumn(kHeight), false, false), (std::vector<size_t>{2, 0, 1, 3}));
    EXPECT_EQ(sheet_.View(kFileNameColumn, true, true), (std::vector<size_t>{1, 3}));
    const std::vector<size_t> view = sheet_.View(kFileNameColumn, false, false);
    EXPECT_EQ(sheet_.Find(view, 0, L"efgh"), std::optional<size_t>(2));
    EXPECT_EQ(sheet_.Find(view, 3, L"ABCD"), std::optional<size_t>(3));
    EXPECT_EQ(sheet_.Find(view, 0, L"QRST"), std::nullopt);
}

TEST(TabSeparated, ReadsWhatSpreadsheetsPutOnTheClipboard) {
    using Grid = std::vector<std::vector<std::wstring>>;
    const std::pair<std::wstring, Grid> cases[] = {
        {L"1.5\tABCD\r\n2\t\r\n", {{L"1.5", L"ABCD"}, {L"2", L""}}},
        {L"1.5", {{L"1.5"}}},
        {L"\"a\r\nb\"\t\"say \"\"x\"\"\"\n", {{L"a\r\nb", L"say \"x\""}}},
        {L"\r\n", {{L""}}},
        {L"", {}},
    };
    for (const auto& [text, grid] : cases) {
        EXPECT_EQ(ParseTabSeparated(text), grid) << text;
        EXPECT_EQ(ParseTabSeparated(TabSeparated(grid)), grid) << text;
    }
    EXPECT_EQ(PasteEdits(std::vector<size_t>{2, 0}, 1, 10, {{L"1", L"2", L"3"}, {L"4"}}).size(),
              2u);
}

}  // namespace
