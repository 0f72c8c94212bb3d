#include "campaign/Campaign.h"

#include <functional>

#include "campaign/TableKey.h"
#include "platform/Utf8.h"

namespace {

uint32_t HashOf(std::string_view text) {
    return static_cast<uint32_t>(std::hash<std::string_view>{}(text));
}

// An index slot holds the key's hash, to compare keys only when the hashes are equal and to grow
// without reading them, and the row number plus one.
uint32_t HashIn(uint64_t entry) {
    return static_cast<uint32_t>(entry >> 32);
}

int RowIn(uint64_t entry) {
    return static_cast<int>(static_cast<uint32_t>(entry) - 1);
}

}  // namespace

std::string_view Campaign::TextAt(uint32_t offset, size_t length) const {
    return std::string_view(text_).substr(offset, length);
}

std::string_view Campaign::Key(int row) const {
    const Row& held = rows_[static_cast<size_t>(row)];
    return TextAt(held.key, held.keyLength);
}

bool Campaign::SameKey(std::string_view lookupKey, int row) const {
    return keyedByFile_ ? SameFileName(lookupKey, Key(row)) : lookupKey == Key(row);
}

int Campaign::FindKey(std::string_view lookupKey) const {
    if (index_.empty())
        return -1;
    const uint32_t hash = HashOf(lookupKey);
    const size_t mask = index_.size() - 1;
    for (size_t slot = hash & mask; index_[slot] != 0; slot = (slot + 1) & mask) {
        const int row = RowIn(index_[slot]);
        if (HashIn(index_[slot]) == hash && SameKey(lookupKey, row))
            return row;
    }
    return -1;
}

void Campaign::Place(std::vector<uint64_t>& slots, uint64_t entry) {
    const size_t mask = slots.size() - 1;
    size_t slot = HashIn(entry) & mask;
    while (slots[slot] != 0)
        slot = (slot + 1) & mask;
    slots[slot] = entry;
}

void Campaign::GrowIndex() {
    std::vector<uint64_t> slots(index_.empty() ? 1024 : index_.size() * 2, 0);
    for (const uint64_t entry : index_) {
        if (entry != 0)
            Place(slots, entry);
    }
    index_ = std::move(slots);
}

bool Campaign::IndexLastRow(int& other) {
    // At most half the slots are taken, so that probes stay short.
    if (rows_.size() * 2 > index_.size())
        GrowIndex();
    const int row = static_cast<int>(rows_.size() - 1);
    const std::string key = LookupKey(Key(row), keyedByFile_);
    other = FindKey(key);
    if (other >= 0)
        return false;
    Place(index_, (static_cast<uint64_t>(HashOf(key)) << 32) | static_cast<uint32_t>(row + 1));
    return true;
}

int Campaign::FindRow(const std::wstring& path, const std::wstring& currentStation) const {
    const std::string key = ToUtf8(keyedByFile_ ? path : currentStation);
    return FindKey(LookupKey(TrimKey(key), keyedByFile_));
}

FieldValues Campaign::Cells(int row) const {
    const size_t index = static_cast<size_t>(row);
    const size_t end = index + 1 < rows_.size() ? rows_[index + 1].firstCell : cells_.size();
    FieldValues values;
    for (size_t i = rows_[index].firstCell; i < end; ++i) {
        const Cell& cell = cells_[i];
        values.push_back({&RecordFields()[cell.field], FromUtf8(TextAt(cell.text, cell.length))});
    }
    return values;
}
