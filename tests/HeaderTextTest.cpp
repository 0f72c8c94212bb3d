#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "header/HeaderText.h"

namespace {

TEST(HeaderText, EndsBeforeFirstPieceWithControlByte) {
    const std::string bytes = CrLfLines({"ver 2.0", "A:\tB"}) + "C:x\x01y\r\n" + "D:z\r\n";
    const HeaderText header(bytes);
    EXPECT_EQ(header.Lines().size(), 2u);
    EXPECT_EQ(header.End(), 15u);
    EXPECT_FALSE(FindHeaderKey(header, "C:"));
    EXPECT_FALSE(FindHeaderKey(header, "D:"));
}

TEST(HeaderText, LongLinesAreReadInPiecesOf159Bytes) {
    const std::string bytes = std::string(159, 'a') + "KEY:after\r\n";
    const HeaderText header(bytes);
    ASSERT_EQ(header.Lines().size(), 2u);
    EXPECT_EQ(header.Lines()[0].text.size(), 159u);
    const std::optional<HeaderLine> found = FindHeaderKey(header, "KEY:");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->begin, 159u);
    EXPECT_EQ(found->end, bytes.size());
    EXPECT_EQ(header.WholeLineFrom(header.Lines()[0]).end, bytes.size());
}

TEST(HeaderText, FirstMatchingLineCountsAndCaseMatters) {
    const std::string bytes = CrLfLines({"x:1", "ver 1", "X:2", "X:3"});
    const HeaderText header(bytes);
    const std::optional<HeaderLine> found = FindHeaderKey(header, "X:");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->text, "X:2\r\n");
    EXPECT_FALSE(FindHeaderKey(header, "ver 1\r\nX"));
}

TEST(HeaderText, StopsLookingAt64KiB) {
    std::string bytes;
    while (bytes.size() < HeaderText::kMaxLength)
        bytes += "FILLER:0123456789\r\n";
    bytes += "LATE:1\r\n";
    const HeaderText header(bytes);
    EXPECT_LE(header.End(), HeaderText::kMaxLength);
    EXPECT_FALSE(FindHeaderKey(header, "LATE:"));
}

TEST(HeaderText, EmptyInputHasNoLines) {
    const HeaderText header("");
    EXPECT_TRUE(header.Lines().empty());
    EXPECT_EQ(header.End(), 0u);
}

}  // namespace
