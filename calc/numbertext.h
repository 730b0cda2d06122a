#pragma once

#include <cstddef>
#include <string_view>

// The four rules by which numbers pass between field texts and the
// calculation. They hold no state and ignore the process's locale: the full
// stop is the only decimal point.

enum class ReadStatus { ok, conversionFailure, overflow };

struct Reading {
    double value = 0.0;
    ReadStatus status = ReadStatus::ok;

    bool ok() const { return status == ReadStatus::ok; }
};

// Drops blanks, tabs and line feeds anywhere, then reads the longest leading
// number and ignores the rest; no digit reads as 0. Fails only on overflow.
Reading readLenient(std::string_view text);

// Ignores leading and trailing blanks; what is left must be one number and
// nothing else. Reads back every text the two writers produce.
Reading readStrict(std::string_view text);

// A number written as text, at most 15 significant digits. Small enough to
// live on the stack, so writing a field allocates nothing.
class NumberText {
  public:
    std::string_view view() const { return {m_chars, m_size}; }
    operator std::string_view() const { return view(); }

  private:
    friend NumberText signedNumberText(double);
    friend NumberText plainNumberText(double);

    char m_chars[32] = {};
    std::size_t m_size = 0;
};

// ' 10', ' .3', '-.25', ' 1E+15': a blank or a minus sign always leads, and
// there is no zero before the point.
NumberText signedNumberText(double x);

// '127', '0.94', '-11.5', '1E+15'.
NumberText plainNumberText(double x);
