# The sanitizers and libFuzzer need clang: whichever version this Debian
# installs (the `clang` package's clang++, or a versioned one beside it).
find_program(TIVORA_CLANGXX NAMES clang++ clang++-19 clang++-18 clang++-17 clang++-16 clang++-15 clang++-14 REQUIRED)
set(CMAKE_CXX_COMPILER ${TIVORA_CLANGXX})
