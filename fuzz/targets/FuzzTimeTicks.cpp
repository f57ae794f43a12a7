// Time-ticks text: any text reads; every tick count survives writing and reading.
#include "../FuzzSupport.h"
#include "mib/HvValueFormat.h"

int FuzzTimeTicks(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const uint32_t ticks = TextToTimeTicks(text);
    FUZZ_CHECK(TextToTimeTicks(TimeTicksToText(ticks)) == ticks);
    FuzzInput in(data, size);
    uint32_t raw = 0;
    for (int i = 0; i < 4; ++i) raw = raw << 8 | in.Byte();
    FUZZ_CHECK(TextToTimeTicks(TimeTicksToText(raw)) == raw);
    return 0;
}
