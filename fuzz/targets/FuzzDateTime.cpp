// HvDateTime from text and date-time numbers (bcdatetime): any text reads; the written
// forms read back to the same text.
#include <cstring>

#include "../FuzzSupport.h"
#include "mib/HvDateTime.h"
#include "mib/HvValueFormat.h"

int FuzzDateTime(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const HvDateTime dt(text);
    const std::string written = dt.ToText();
    FUZZ_CHECK(HvDateTime(written).ToText() == written);
    const std::string bytes = dt.ToBytes();
    FUZZ_CHECK(bytes.size() == 11);
    HvDateTime back(written);
    FUZZ_CHECK(back.FromBytes(bytes));
    FUZZ_CHECK(back.ToText() == written);

    double days = 0;
    if (TryTextToDateTimeNumber(text, days)) {
        const std::string formatted = DateTimeNumberToText(days);
        double again = 0;
        FUZZ_CHECK(TryTextToDateTimeNumber(formatted, again));
        FUZZ_CHECK(DateTimeNumberToText(again) == formatted);
    }
    // Any eight bytes as a date-time number, NaN and infinities included.
    if (size >= 8) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        FUZZ_CHECK(!DateTimeNumberToText(raw).empty());
    }
    return 0;
}
