#pragma once

// The readers under test take file names: each input is written to a file
// of the fuzzing process's own, which the reader then opens.

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

inline const char* fuzzFile(const std::uint8_t* data, std::size_t size, const char* suffix = "")
{
    static std::string path;
    path = "/tmp/gloamer-fuzz-" + std::to_string(getpid()) + suffix;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return path.c_str();
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    return path.c_str();
}
