#pragma once

#include <array>
#include <string>
#include <string_view>

// SHA-256 (FIPS 180-4) of a text's bytes.
std::array<unsigned char, 32> sha256(std::string_view text);

// Base64 with padding (RFC 4648), as a Content-Security-Policy hash wants it.
std::string base64(std::string_view bytes);
