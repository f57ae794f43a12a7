#pragma once
// A delimited list of whole numbers, such as "1.3.6" or "10,20,30".
#include <concepts>
#include <cstdint>
#include <string>
#include <vector>

template <typename T>
requires std::same_as<T, int> || std::same_as<T, unsigned int>
class HvNumList {
public:
    char delimiter = '.';

    // 0 for the empty text, else 1 + the number of delimiters.
    int ItemCount(const std::string& text) const {
        if (text.empty()) return 0;
        int n = 1;
        for (char c : text)
            if (c == delimiter) ++n;
        return n;
    }

    // Replaces the items by the numbers of the text: the delimiter moves to the next item;
    // "." (when it is not the delimiter) starts a fraction, whose characters never change the
    // item; any other character c adds to the item as item * 10 + (c - '0'), computed modulo
    // 2^32 (characters are not checked: callers pass digits, delimiters and dots).
    HvNumList& Parse(const std::string& text) {
        items_.assign(static_cast<size_t>(ItemCount(text)), T{});
        size_t pos = 0;
        uint32_t acc = 0;
        bool fraction = false;
        for (char c : text) {
            if (c == delimiter) {
                items_[pos++] = static_cast<T>(acc);
                acc = 0;
                fraction = false;
            } else if (c == '.') {
                fraction = true;
            } else if (!fraction) {
                acc = acc * 10u + static_cast<uint32_t>(static_cast<unsigned char>(c) - '0');
            }
        }
        if (!items_.empty()) items_[pos] = static_cast<T>(acc);
        return *this;
    }

    uint32_t Count() const { return static_cast<uint32_t>(items_.size()); }
    // The item at index i; raises std::out_of_range outside 0..Count()-1.
    T Item(uint32_t i) const { return items_.at(i); }
    const std::vector<T>& Items() const { return items_; }

    // True when every item lies within [minimum, maximum] (true for an empty list).
    bool AllWithin(unsigned int minimum,
                   unsigned int maximum) const requires std::same_as<T, unsigned int> {
        for (T v : items_)
            if (v < minimum || v > maximum) return false;
        return true;
    }

private:
    std::vector<T> items_;
};
