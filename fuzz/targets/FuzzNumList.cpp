// Number lists: any delimiter and text.
#include "../FuzzSupport.h"
#include "mib/HvNumList.h"

int FuzzNumList(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const char delimiter = static_cast<char>(in.Byte());
    const std::string text = in.Rest();
    HvNumList<int> signedList;
    signedList.delimiter = delimiter;
    signedList.Parse(text);
    FUZZ_CHECK(signedList.Count() == static_cast<uint32_t>(signedList.ItemCount(text)));
    HvNumList<unsigned int> unsignedList;
    unsignedList.delimiter = delimiter;
    unsignedList.Parse(text).Parse(text);
    FUZZ_CHECK(unsignedList.Count() == signedList.Count());
    FUZZ_CHECK(unsignedList.AllWithin(0, 0xFFFFFFFFu));
    for (uint32_t i = 0; i < signedList.Count(); ++i)
        FUZZ_CHECK(static_cast<unsigned int>(signedList.Item(i)) == unsignedList.Item(i));
    return 0;
}
