#pragma once

#include <cstddef>
#include <string_view>

// The two rules by which the calculation writes numbers into field texts.
// They hold no state and ignore the process's locale: the full stop is the
// only decimal point. readStrict (numberreading.h) reads every text back.

// A number written as text, at most 15 significant digits. Small enough to
// live on the stack, so writing a field allocates nothing. The view is asked
// for by name: it points into this object and dies with it.
class NumberText {
  public:
    std::string_view view() const { return {m_chars, m_size}; }

  private:
    friend NumberText signedNumberText(double);
    friend NumberText plainNumberText(double);

    char m_chars[32] = {};
    std::size_t m_size = 0;
};

// Both writers take finite numbers only: the recalculation never writes an
// infinity or a NaN.

// ' 10', ' .3', '-.25', ' 1E+15': a blank or a minus sign always leads, and
// there is no zero before the point.
NumberText signedNumberText(double x);

// '127', '0.94', '-11.5', '1E+15'.
NumberText plainNumberText(double x);
