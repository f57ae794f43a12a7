// The libFuzzer entry of one target; KSV_FUZZ_FUNCTION names its body.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return KSV_FUZZ_FUNCTION(data, size);
}
