// Reading a file the user named: a regular file within the bound, or one
// line saying why not.

#include "performance/file_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#if __has_include(<sys/stat.h>)
#include <sys/stat.h>
#define TIVORA_HAS_MKFIFO 1
#endif

namespace tivora::performance {
namespace {

namespace fs = std::filesystem;

// A folder of the test's own, removed with everything in it at the end.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("tivora-file-text-" + std::to_string(std::random_device{}()));
    ScratchFolder() { fs::create_directory(path); }
    ~ScratchFolder() { fs::remove_all(path); }

    std::string file(const std::string& name, const std::string& text) const
    {
        std::ofstream(path / name, std::ios::binary) << text;
        return (path / name).string();
    }
};

TEST(TextFile, onlyARegularFileWithinItsBoundIsRead)
{
    const ScratchFolder scratch;
    const std::string big = (scratch.path / "big.csv").string();
    std::ofstream(big).close();
    fs::resize_file(big, 10 * 1024 * 1024);  // sparse: nothing written
    std::string fifo = "/dev/null";
#ifdef TIVORA_HAS_MKFIFO
    fifo = (scratch.path / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opened for reading, it would wait for a writer
#endif
    struct Row {
        std::string path;
        std::size_t bound;
        std::string problem;  // empty: read whole
    };
    const Row rows[] = {
        {scratch.file("polar.txt", "0 0.2 0.01\n5 0.7 0.012\n"), kLargestTextFile, ""},
        {scratch.file("empty.txt", ""), kLargestTextFile, ""},
        {scratch.file("sixteen.txt", "0123456789abcdef"), 16, ""},
        {scratch.file("seventeen.txt", "0123456789abcdefg"), 16, "larger than 16 bytes"},
        {big, kLargestTextFile, "larger than 4 MB"},
        // Says it holds nothing, and goes on past the bound.
        {"/proc/self/status", 16, "larger than 16 bytes"},
        {scratch.path.string(), kLargestTextFile, "a folder, not a file"},
        {"/dev/zero", kLargestTextFile, "not a regular file but a device, a pipe or a socket"},
        {(scratch.path / "missing.txt").string(), kLargestTextFile, "not found"},
        {fifo, kLargestTextFile, "not a regular file but a device, a pipe or a socket"},  // last: opened, it hangs
    };
    for (const Row& row : rows) {
        const Result<std::string> text = readTextFile(row.path, row.bound);
        if (row.problem.empty()) {
            ASSERT_TRUE(text) << row.path << ": " << text.problem().message;
            std::ifstream file(row.path, std::ios::binary);
            EXPECT_EQ(*text, std::string(std::istreambuf_iterator<char>(file), {})) << row.path;
        } else {
            ASSERT_FALSE(text) << row.path;
            EXPECT_EQ(text.problem().kind, ProblemKind::FileNotReadable) << row.path;
            ASSERT_EQ(text.problem().message, row.problem) << row.path;
        }
    }
}

}  // namespace
}  // namespace tivora::performance
