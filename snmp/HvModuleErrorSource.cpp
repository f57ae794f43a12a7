#include "snmp/HvModuleErrorSource.h"

#include "mib/HvErrorRaise.h"
#include "snmp/HvSNMPErrors.h"

namespace {

std::string CatalogueText(int32_t code) {
    return ErrorText(code);
}

const bool installed = (SetModuleErrorTextSource(&CatalogueText), true);

}  // namespace

void LinkModuleErrorSource() {
    (void)installed;
}
