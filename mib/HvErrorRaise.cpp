#include "mib/HvErrorRaise.h"

#include "platform/Exception.h"

namespace {

// Constant-initialised, so installing a source from another unit's static initialiser is
// safe whatever the order of initialisation.
ModuleErrorTextFn textSource = nullptr;

std::string FallbackText(int32_t code) {
    switch (code) {
        case -511:
            return "Bad SNMP syntax!";
        case -518:
            return "Bad value of the associated SNMP variable's (partial) data!";
        case -519:
            return "Out of range for the bit(byte) index of the associated SNMP variable's "
                   "(partial) data!";
        default:
            return "Unknown error code!";
    }
}

}  // namespace

void SetModuleErrorTextSource(ModuleErrorTextFn source) {
    textSource = source;
}

std::string ModuleErrorText(int32_t code) {
    return textSource != nullptr ? textSource(code) : FallbackText(code);
}

void RaiseModuleError(int32_t code) {
    throw Exception(ModuleErrorText(code), code);
}
