#pragma once

#include <string>
#include <string_view>

// The window speaks UTF-8; Windows' W functions speak UTF-16.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);
