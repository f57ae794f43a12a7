// Numeric expressions: any text evaluates, without failing, hanging or exhausting the stack.
#include "../FuzzSupport.h"
#include "snmp/HvSNMPExpression.h"

int FuzzEvalNumber(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const long double value = EvalNumber(text);
    (void)value;
    return 0;
}
