#pragma once
// Shared pieces of the fuzz targets: the input reader, the property check and the syntax
// codes to pick from. The target bodies (targets/*.cpp) are plain functions, so that the
// regression test can feed them saved inputs without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <string>

// Called when a property of a target does not hold. Aborts by default (libFuzzer then saves
// the input); the regression test replaces it with one that throws.
using FuzzFailureHandler = void (*)(const char* condition, const char* file, int line);
extern FuzzFailureHandler fuzzFailureHandler;

#define FUZZ_CHECK(condition)                                                 \
    do {                                                                      \
        if (!(condition)) fuzzFailureHandler(#condition, __FILE__, __LINE__); \
    } while (0)

// Reads a fuzz input front to back; past its end every read gives 0 or the empty text.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? static_cast<uint8_t>(data_[pos_++]) : 0; }
    // The bytes up to (not including) the next `separator`, which is skipped.
    std::string Text(char separator) {
        size_t begin = pos_;
        while (pos_ < size_ && data_[pos_] != separator) ++pos_;
        std::string text(data_ + begin, pos_ - begin);
        if (pos_ < size_) ++pos_;
        return text;
    }
    std::string Rest() {
        std::string text(data_ + pos_, size_ - pos_);
        pos_ = size_;
        return text;
    }

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Every syntax code of the module, and a few that are none.
inline constexpr int32_t kFuzzSyntaxes[] = {1,   2,   3,   4,   5,   6,   64, 65, 66, 67, 68,
                                            69,  70,  71,  72,  73,  74,  75, 76, 77, 78, 81,
                                            193, 194, 195, 196, 197, 198, 0,  7,  79, 255};
inline constexpr size_t kFuzzSyntaxCount = sizeof kFuzzSyntaxes / sizeof kFuzzSyntaxes[0];
inline int32_t FuzzSyntax(uint8_t b) {
    return kFuzzSyntaxes[b % kFuzzSyntaxCount];
}

// The target bodies.
int FuzzHexText(const uint8_t* data, size_t size);
int FuzzTimeTicks(const uint8_t* data, size_t size);
int FuzzDateTime(const uint8_t* data, size_t size);
int FuzzBitList(const uint8_t* data, size_t size);
int FuzzNumList(const uint8_t* data, size_t size);
int FuzzDecodeIndex(const uint8_t* data, size_t size);
int FuzzValueRoundTrip(const uint8_t* data, size_t size);
int FuzzVbText(const uint8_t* data, size_t size);
int FuzzEvalNumber(const uint8_t* data, size_t size);
int FuzzEvalCondition(const uint8_t* data, size_t size);
int FuzzSubstituteValues(const uint8_t* data, size_t size);
