#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "campaign/FileList.h"

// Distinct texts, each numbered in the order it first came and held once, packed into one
// buffer: the stations and receivers of a campaign of tens of thousands of files.
class TextIndex {
  public:
    // The text's number, the next one when the text is new.
    uint32_t NumberOf(std::wstring_view text);
    std::wstring Text(uint32_t number) const;
    size_t size() const { return texts_.size(); }

  private:
    size_t SlotOf(std::string_view packed, uint64_t hash) const;
    void Grow();

    PackedTexts texts_;
    // Open addressing: each slot 0 when free, else a text's number plus one.
    std::vector<uint32_t> slots_;
    std::string key_;
};
