// Conditions: any text evaluates or fails with the bad-operand error (-1) only.
#include "../FuzzSupport.h"
#include "platform/Exception.h"
#include "snmp/HvSNMPExpression.h"

int FuzzEvalCondition(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const bool value = EvalCondition(text);
        // A condition without parentheses and its negation in parentheses disagree.
        if (text.find_first_of("()") == std::string::npos)
            FUZZ_CHECK(EvalCondition("!(" + text + ")") == !value);
    } catch (const Exception& e) {
        FUZZ_CHECK(e.HelpContext() == -1);
    }
    try {
        Compare(text);
    } catch (const Exception& e) {
        FUZZ_CHECK(e.HelpContext() == -1);
    }
    return 0;
}
