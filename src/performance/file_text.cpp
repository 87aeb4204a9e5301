#include "file_text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tivora::performance {

namespace {

Problem cannot(const std::string& why)
{
    return Problem{ProblemKind::FileNotReadable, why};
}

std::string sizeText(std::size_t bytes)
{
    constexpr std::size_t kMegabyte = 1024 * 1024;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0)
        return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace

Result<std::string> readTextFile(const std::string& path, std::size_t bound)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type()) {
    case fs::file_type::regular:
        break;
    case fs::file_type::not_found:
        return cannot("not found");
    case fs::file_type::directory:
        return cannot("a folder, not a file");
    case fs::file_type::none:
        return cannot("cannot be opened (" + error.message() + ")");
    default:
        return cannot("not a regular file but a device, a pipe or a socket");
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > bound)
        return cannot("larger than " + sizeText(bound));

    std::ifstream file;
    // Unbuffered, so that no read asks for more than is still wanted.
    file.rdbuf()->pubsetbuf(nullptr, 0);
    errno = 0;
    file.open(path, std::ios::binary);
    if (!file)
        return cannot(errno != 0 ? "cannot be opened (" + std::generic_category().message(errno) + ")"
                                 : "cannot be opened");
    std::string text;
    std::array<char, 64 * 1024> chunk;
    while (text.size() <= bound) {
        const std::size_t left = bound - text.size();
        const std::size_t wanted = left < chunk.size() ? left + 1 : chunk.size();
        file.read(chunk.data(), static_cast<std::streamsize>(wanted));
        text.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
        if (!file)
            break;
    }
    if (file.bad())
        return cannot("cannot be read");
    if (text.size() > bound)
        return cannot("larger than " + sizeText(bound));
    return text;
}

}  // namespace tivora::performance
