// Dates as the user's short date form writes them, for the install date kept in the Settings key.
//
// The pattern comes from the user's regional settings ("M/d/yyyy", "dd.MM.yyyy", "yyyy-MM-dd", ...). Only the
// numeric fields d, dd, M, MM, y, yy, yyyy and literal text are understood; a pattern with anything else (month
// names, eras) formats as yyyy-MM-dd and reads nothing back, so such a date is never taken as due.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumoff::settings {

struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;
};

std::string FormatShortDate(const Date& date, std::string_view pattern);
// Reads a date written in the pattern; nothing when the text does not follow it or names no real day.
std::optional<Date> ParseShortDate(std::string_view text, std::string_view pattern);
// Days from 1970-01-01 (proleptic Gregorian).
long DaysSinceEpoch(const Date& date);

}  // namespace lumoff::settings
