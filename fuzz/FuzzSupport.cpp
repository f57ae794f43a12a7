#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

void AbortOnFailure(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace

FuzzFailureHandler fuzzFailureHandler = &AbortOnFailure;
