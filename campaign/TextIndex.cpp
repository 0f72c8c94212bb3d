#include "campaign/TextIndex.h"

#include "campaign/FileList.h"

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
    if (4 * (ends_.size() + 1) > 3 * slots_.size())
        Grow();
    const size_t slot = SlotOf(key_, HashOf(key_));
    if (slots_[slot] != 0)
        return slots_[slot] - 1;
    texts_ += key_;
    ends_.push_back(static_cast<uint32_t>(texts_.size()));
    slots_[slot] = static_cast<uint32_t>(ends_.size());
    return slots_[slot] - 1;
}

std::wstring TextIndex::Text(uint32_t number) const {
    std::wstring text;
    AppendUnpacked(Packed(number), text);
    return text;
}

std::string_view TextIndex::Packed(uint32_t number) const {
    const size_t start = number == 0 ? 0 : ends_[number - 1];
    return std::string_view(texts_).substr(start, ends_[number] - start);
}

// The slot of the text, or the free slot where it belongs.
size_t TextIndex::SlotOf(std::string_view packed, uint64_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (slots_[slot] == 0 || Packed(slots_[slot] - 1) == packed)
            return slot;
    }
}

void TextIndex::Grow() {
    slots_.assign(slots_.empty() ? kFirstSlots : 2 * slots_.size(), 0);
    for (uint32_t number = 0; number < ends_.size(); ++number)
        slots_[SlotOf(Packed(number), HashOf(Packed(number)))] = number + 1;
}
