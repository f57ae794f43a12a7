// Bit lists: any text and current value; a bit list written from a value reads back as it.
#include <cctype>

#include "../FuzzSupport.h"
#include "mib/HvValueFormat.h"

int FuzzBitList(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const bool brackets = in.Byte() & 1;
    const std::string current = in.Text('\n');
    const std::string text = in.Rest();

    BitListToText(current, brackets);
    StripBitListText(text);
    std::string hex = "untouched";
    if (TextToBitList(text, current, hex))
        FUZZ_CHECK(hex.size() == current.size());
    else
        FUZZ_CHECK(hex == "untouched");

    // The current value taken as bytes: its bit list sets exactly its bits again.
    const std::string valueHex = BytesToHexText(current);
    std::string lower;
    for (char c : valueHex) lower.push_back(static_cast<char>(std::tolower(c)));
    std::string back;
    FUZZ_CHECK(TextToBitList(BitListToText(valueHex, false), valueHex, back));
    FUZZ_CHECK(back == lower);
    FUZZ_CHECK(StripBitListText(BitListToText(valueHex, true)) == valueHex);
    return 0;
}
