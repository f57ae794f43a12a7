#pragma once
// Raising the library's own errors from the mib layer, which sits below the message
// catalogues of the snmp layer. The snmp layer installs its catalogue lookup as the text
// source at static initialisation; without it a compiled-in text is used for the codes
// raised here (-511, -518, -519), and "Unknown error code!" for any other code.
#include <cstdint>
#include <string>

using ModuleErrorTextFn = std::string (*)(int32_t code);

// Installs (or, with null, removes) the text source of RaiseModuleError.
void SetModuleErrorTextSource(ModuleErrorTextFn source);

// The text for the code: from the installed source, else the compiled-in fallback.
std::string ModuleErrorText(int32_t code);

// Raises Exception(ModuleErrorText(code), code) (platform/Exception.h).
[[noreturn]] void RaiseModuleError(int32_t code);
