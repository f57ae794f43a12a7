#pragma once
// Value-to-label lists of enumerated variables, built from compiled-in {value, label} pairs.
#include <cstdint>
#include <string>
#include <vector>

// The value of one compiled-in pair: a number for lists of value kind 1, a text for kinds 2
// and 3. Both constructors are implicit so that static tables read naturally:
//   const HvOptionData kStatus[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};
//   const HvOptionData kVendor[] = {{"1.3.6.1.4.1.43917", "Vendor"}, {nullptr, nullptr}};
struct HvOptionValue {
    constexpr HvOptionValue() = default;
    constexpr HvOptionValue(int32_t n) : number(n) {}
    constexpr HvOptionValue(const char* t) : text(t) {}
    int32_t number = 0;
    const char* text = nullptr;
};

// One compiled-in pair. An array of pairs ends with the first pair whose label is null.
struct HvOptionData {
    HvOptionValue value;
    const char* label;
};

// 1: integer values; 2: text values matched whole; 3: text values matched as the leading
// part of a longer text.
enum HvOptionValueKind : int32_t {
    OVK_INTEGER = 1,
    OVK_TEXT = 2,
    OVK_PREFIX = 3,
};

class HvOptionList {
public:
    // One owned copy of a pair: `number` is used by kind 1, `text` by kinds 2 and 3.
    struct Entry {
        int32_t number = 0;
        std::string text;
        std::string label;
    };

    // Sets the kind and the flag, then appends the data (null data gives an empty list).
    // A kind outside 1..3 raises std::invalid_argument: it is a mistake in a compiled-in table.
    HvOptionList(const HvOptionData* data, int32_t valueKind, bool caseSensitive = false);
    HvOptionList(const HvOptionList&) = delete;
    HvOptionList& operator=(const HvOptionList&) = delete;

    // Appends one entry per pair up to the terminating null label, in data order; nothing
    // is merged or sorted. A null text value of a kind-2/3 pair is taken as the empty text.
    void Append(const HvOptionData* data);

    int32_t ValueKind() const { return valueKind_; }
    bool CaseSensitive() const { return caseSensitive_; }
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // The entry at index i; raises std::out_of_range outside 0..Count()-1.
    const Entry& Item(int32_t i) const { return items_.at(static_cast<size_t>(i)); }
    const std::vector<Entry>& Items() const { return items_; }

private:
    int32_t valueKind_;
    bool caseSensitive_;
    std::vector<Entry> items_;
};
