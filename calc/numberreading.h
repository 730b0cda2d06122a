#pragma once

#include <string_view>

// The two rules by which numbers are read from field texts. They hold no
// state and ignore the process's locale: the full stop is the only decimal
// point. numbertext.h holds the two by which they are written back.

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
