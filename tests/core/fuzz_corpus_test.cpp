// The fuzzers' corpora, replayed by every test run through the very checks
// the fuzz targets make (their sources are compiled in here under names of
// their own), without libFuzzer: a seed that once found a fault keeps
// guarding against it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int readNumberFuzzTarget(const std::uint8_t* data, std::size_t size);
extern "C" int designFileFuzzTarget(const std::uint8_t* data, std::size_t size);

namespace {

TEST(FuzzCorpora, everySeedPassesItsFuzzTargetsChecks)
{
    const struct {
        const char* folder;
        int (*target)(const std::uint8_t*, std::size_t);
    } corpora[] = {{"number-corpus", readNumberFuzzTarget}, {"design-corpus", designFileFuzzTarget}};
    for (const auto& corpus : corpora) {
        int seeds = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(TIVORA_FUZZ) / corpus.folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            SCOPED_TRACE(entry.path().string());
            // A failed check aborts, as libFuzzer needs; here it ends only
            // the child that runs the seed.
            EXPECT_EXIT(
                {
                    corpus.target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
                    std::exit(0);
                },
                ::testing::ExitedWithCode(0), "");
            ++seeds;
        }
        EXPECT_GT(seeds, 0) << corpus.folder;
    }
}

}  // namespace
