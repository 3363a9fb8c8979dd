#pragma once

#include <cstddef>

// The one place where text is copied or formatted into fixed-size buffers.
// Both always terminate the buffer and never write past `size` bytes; a
// longer text is cut.

// Copies src into dst; returns 1 when it fitted whole, 0 when it was cut.
int boundedCopy(char* dst, std::size_t size, const char* src);

// printf-style formatting into dst; returns 1 when it fitted whole, 0 when it was cut.
int boundedFormat(char* dst, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
