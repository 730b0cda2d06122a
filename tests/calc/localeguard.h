#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <exception>
#include <locale>
#include <string>
#include <string_view>

// Puts back the C and the C++ global locale when a test that changed them
// ends, however it ends, so that no other test runs under a decimal comma.
class LocaleGuard {
  public:
    LocaleGuard() : m_cppLocale(std::locale()), m_cLocale(std::setlocale(LC_ALL, nullptr)) {}
    ~LocaleGuard() {
        std::locale::global(m_cppLocale);
        std::setlocale(LC_ALL, m_cLocale.c_str());
    }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

  private:
    std::locale m_cppLocale;
    std::string m_cLocale;
};

// WebAssembly's C library knows no locale but "C", so no user's locale can
// reach the numbers there and there is nothing to prove.
#ifdef __EMSCRIPTEN__
inline constexpr bool hasNamedLocales = false;
#else
inline constexpr bool hasNamedLocales = true;
#endif

// A German user's locale writes 1.5 as "1,5". CI always has it (scripts/deps.sh
// generates it), so a missing locale is a failure, never a reason to skip.
inline ::testing::AssertionResult useDecimalCommaLocale() {
#ifdef _WIN32
    // Windows names its locales its own way, and this C++ library knows no
    // named locale but "C": the C runtime's locale is the one that strtod and
    // printf follow there.
    constexpr const char* name = "German_Germany.1252";
    constexpr bool checkCpp = false;
#else
    constexpr const char* name = "de_DE.UTF-8";
    constexpr bool checkCpp = true;
    try {
        std::locale::global(std::locale(name));
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure()
               << "cannot construct locale " << name << ": " << e.what();
    }
#endif
    if (std::setlocale(LC_ALL, name) == nullptr)
        return ::testing::AssertionFailure() << "setlocale(LC_ALL, " << name << ") failed";

    // Make sure the locale really would change numbers, or the test proves nothing.
    if (std::string_view(std::localeconv()->decimal_point) != ",")
        return ::testing::AssertionFailure() << "C locale decimal point is not a comma";
    if (checkCpp && std::use_facet<std::numpunct<char>>(std::locale()).decimal_point() != ',')
        return ::testing::AssertionFailure() << "C++ global locale decimal point is not a comma";
    char printed[8];
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    if (std::string_view(printed) != "1,5")
        return ::testing::AssertionFailure() << "printf writes 1.5 as " << printed;
    return ::testing::AssertionSuccess();
}
