// libFuzzer target for the short date: the install date is text in the Settings key, read back in the user's short
// date pattern, and both come from outside the program. Nothing may crash, a date read must be a real day, and a
// date written in a pattern that reads it must read back as the same day.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/short_date.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

bool SameDay(const lumoff::settings::Date& a, const lumoff::settings::Date& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool IsCommonPattern(std::string_view pattern) {
    for (std::string_view common : {"M/d/yyyy", "MM/dd/yyyy", "dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd", "dd/MM/yyyy"})
        if (pattern == common) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte splits the rest into the pattern and the stored text.
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = data[0] < rest.size() ? data[0] : rest.size();
    const std::string_view pattern = rest.substr(0, cut);
    const std::string_view text = rest.substr(cut);

    const auto date = lumoff::settings::ParseShortDate(text, pattern);
    if (date) {
        Check(date->year >= 1601 && date->year <= 9999);
        Check(date->month >= 1 && date->month <= 12);
        Check(date->day >= 1 && date->day <= 31);
        const long days = lumoff::settings::DaysSinceEpoch(*date);
        Check(days >= lumoff::settings::DaysSinceEpoch({1601, 1, 1}));
        Check(days <= lumoff::settings::DaysSinceEpoch({9999, 12, 31}));
        // In the patterns users have (fields apart, four-digit years) a date written again reads as the same day.
        if (IsCommonPattern(pattern)) {
            const std::string again_text = lumoff::settings::FormatShortDate(*date, pattern);
            const auto again = lumoff::settings::ParseShortDate(again_text, pattern);
            Check(again && SameDay(*again, *date));
        }
    }
    // Today in any pattern; the common ones read it back.
    const lumoff::settings::Date today{2026, 12, 6};
    const std::string written = lumoff::settings::FormatShortDate(today, pattern);
    if (IsCommonPattern(pattern)) {
        const auto back = lumoff::settings::ParseShortDate(written, pattern);
        Check(back && SameDay(*back, today));
    }
    return 0;
}
