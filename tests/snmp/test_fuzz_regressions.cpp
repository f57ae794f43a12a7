// The bodies of the fuzz targets, fed with their seed corpora and with every input a
// fuzzing run found (fuzz/regressions/<target>/): none may fail a property or let an
// unexpected exception out.
#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    int (*body)(const uint8_t*, size_t);
};

const Target kTargets[] = {
    {"hex_text", FuzzHexText},
    {"time_ticks", FuzzTimeTicks},
    {"date_time", FuzzDateTime},
    {"bit_list", FuzzBitList},
    {"num_list", FuzzNumList},
    {"decode_index", FuzzDecodeIndex},
    {"value_roundtrip", FuzzValueRoundTrip},
    {"vb_text", FuzzVbText},
    {"eval_number", FuzzEvalNumber},
    {"eval_condition", FuzzEvalCondition},
    {"substitute_values", FuzzSubstituteValues},
};

void ThrowOnFailure(const char* condition, const char* file, int line) {
    throw std::logic_error(std::string(file) + ":" + std::to_string(line) +
                           ": property failed: " + condition);
}

std::vector<fs::path> Inputs(const std::string& target) {
    std::vector<fs::path> files;
    for (const char* folder : {"corpus", "regressions"}) {
        fs::path dir = fs::path(KSV_FUZZ_DIR) / folder / target;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    return files;
}

class FuzzRegression : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzRegression, SavedInputsPass) {
    fuzzFailureHandler = &ThrowOnFailure;
    const std::vector<fs::path> files = Inputs(GetParam().name);
    EXPECT_FALSE(files.empty()) << "no seeds for " << GetParam().name;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)), {});
        try {
            GetParam().body(reinterpret_cast<const uint8_t*>(data.data()), data.size());
        } catch (const std::exception& e) {
            ADD_FAILURE() << file << ": " << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
