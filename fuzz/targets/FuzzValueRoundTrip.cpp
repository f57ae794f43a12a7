// EncodeValue / DecodeValue over every syntax code: any bytes and any text convert without
// reading beyond them, and a decoded text encodes to bytes that decode to the same text.
#include "../FuzzSupport.h"
#include "mib/HvValueFormat.h"
#include "platform/Exception.h"

namespace {

bool IsExpected(const Exception& e) {
    return e.HelpContext() == -511 || e.HelpContext() == -518 || e.HelpContext() == -519 ||
           dynamic_cast<const EConvertError*>(&e) != nullptr;
}

// text = DecodeValue(bytes); DecodeValue(EncodeValue(text)) must give the text again.
void CheckFixedPoint(const std::string& bytes, int32_t syntax) {
    std::string text;
    try {
        text = DecodeValue(bytes, syntax);
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
        return;
    }
    // The text "(NULL)" stands for no value, whatever bytes it was read from (a display
    // string of these six characters).
    if (text == "(NULL)") return;
    std::string again;
    try {
        again = DecodeValue(EncodeValue(text, syntax), syntax);
    } catch (const Exception& e) {
        // A date-time number outside the calendar is written as a number, which the
        // date-time parser does not read.
        FUZZ_CHECK(syntax == 75 && dynamic_cast<const EConvertError*>(&e) != nullptr);
        return;
    }
    FUZZ_CHECK(again == text);
}

}  // namespace

int FuzzValueRoundTrip(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int32_t syntax = FuzzSyntax(in.Byte());
    const int32_t offset = static_cast<int8_t>(in.Byte());
    const std::string rest = in.Rest();
    CheckFixedPoint(rest, syntax);
    try {
        CheckFixedPoint(EncodeValue(rest, syntax), syntax);
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
    }
    try {
        const std::string part = ExtractPart(rest, offset, syntax);
        FUZZ_CHECK(part.size() <= rest.size());
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
    }
    return 0;
}
