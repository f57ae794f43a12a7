// Hex text: any text reads without reading beyond it; written bytes read back unchanged.
#include "../FuzzSupport.h"
#include "mib/HvValueFormat.h"

int FuzzHexText(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string bytes = HexTextToBytes(text);
    FUZZ_CHECK(bytes.size() <= (text.size() + 1) / 2);
    const std::string hex = BytesToHexText(bytes);
    FUZZ_CHECK(hex.size() == 2 * bytes.size());
    FUZZ_CHECK(HexTextToBytes(hex) == bytes);
    // The input taken as bytes: written and read back unchanged.
    FUZZ_CHECK(HexTextToBytes(BytesToHexText(text)) == text);
    return 0;
}
