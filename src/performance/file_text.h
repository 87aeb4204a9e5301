#pragma once

// Reading a file the user named (a polar, a measured power curve) whole into
// memory, within a bound.

#include "result.h"

#include <cstddef>
#include <string>

namespace tivora::performance {

// As the Rotor Performance window reads: no polar or power curve comes near.
inline constexpr std::size_t kLargestTextFile = 4 * 1024 * 1024;

// The bytes of the regular file at path, at most bound of them. A folder, a
// device, a pipe or a socket is refused without reading (a device such as
// /dev/zero never ends, a pipe may never answer), and so is a file that says
// it is larger; one that grows while it is read stops at bound + 1 bytes.
// The Problem (FileNotReadable) says why in a few words without the path,
// for the caller to put after it: "a folder, not a file".
Result<std::string> readTextFile(const std::string& path, std::size_t bound = kLargestTextFile);

}  // namespace tivora::performance
