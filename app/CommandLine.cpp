#include "app/CommandLine.h"

namespace {
std::vector<std::string>& Arguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
}  // namespace

void SetCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc && argv[i] != nullptr; ++i) arguments.emplace_back(argv[i]);
    SetCommandLine(std::move(arguments));
}

void SetCommandLine(std::vector<std::string> arguments) {
    Arguments() = std::move(arguments);
}

int ParamCount() {
    return Arguments().empty() ? 0 : static_cast<int>(Arguments().size()) - 1;
}

std::string ParamStr(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= Arguments().size()) return {};
    return Arguments()[static_cast<std::size_t>(index)];
}

std::vector<std::string> ParamList() {
    if (Arguments().size() <= 1) return {};
    return {Arguments().begin() + 1, Arguments().end()};
}
