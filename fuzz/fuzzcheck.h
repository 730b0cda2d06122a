#pragma once

#include <bit>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// The fuzz build is optimised with NDEBUG, so assert() would vanish. A broken
// property must still end the run, so that libFuzzer keeps the input.
[[noreturn]] __attribute__((format(printf, 1, 2))) inline void fail(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("property broken: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::abort();
}

// A text between single quotes with every byte that would not show escaped,
// so that blanks, tabs and line feeds can be told apart in a report.
inline std::string quoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\' && c != '\'') {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        }
    }
    out += '\'';
    return out;
}

// Equal values are not enough: -0 == 0, and a reading must give one double.
inline bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
