#include "campaign/TextIndex.h"

namespace {

constexpr size_t kFirstSlots = 64;

uint64_t HashOf(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace

uint32_t TextIndex::NumberOf(std::wstring_view text) {
    key_.clear();
    AppendPacked(text, key_);
    // Kept at most three quarters full, so that a search ends soon at a free slot.
    if (4 * (texts_.size() + 1) > 3 * slots_.size())
        Grow();
    const size_t slot = SlotOf(key_, HashOf(key_));
    if (slots_[slot] != 0)
        return slots_[slot] - 1;
    texts_.Add(text);
    slots_[slot] = static_cast<uint32_t>(texts_.size());
    return slots_[slot] - 1;
}

std::wstring TextIndex::Text(uint32_t number) const {
    std::wstring text;
    texts_.TextInto(number, text);
    return text;
}

// The slot of the text, or the free slot where it belongs.
size_t TextIndex::SlotOf(std::string_view packed, uint64_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (slots_[slot] == 0 || texts_[slots_[slot] - 1] == packed)
            return slot;
    }
}

void TextIndex::Grow() {
    slots_.assign(slots_.empty() ? kFirstSlots : 2 * slots_.size(), 0);
    for (uint32_t number = 0; number < texts_.size(); ++number)
        slots_[SlotOf(texts_[number], HashOf(texts_[number]))] = number + 1;
}
