#pragma once

#include <ostream>

#include "cli/ToolTexts.h"
#include "header/StationHeader.h"

// Chinese headers read in a Western single-byte code page come out as Latin letters ("²âÕ¾Ò»"
// for 测站一), which is what a non-Chinese locale gives. Says once, on standard error, how to
// name the right code page.
class CodePageHint {
  public:
    CodePageHint(unsigned codePage, Language language) : codePage_(codePage), language_(language) {}

    void Check(const StationHeader& header, std::ostream& err);

  private:
    unsigned codePage_;
    Language language_;
    bool given_ = false;
};

// Whether a code page holds one Western European character per byte.
bool IsWesternSingleByte(unsigned codePage);
