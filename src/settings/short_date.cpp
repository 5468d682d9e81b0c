#include "settings/short_date.h"

#include <string>
#include <vector>

namespace lumoff::settings {

namespace {

struct Field {
    char letter = 0;  // 'd', 'M', 'y', or 0 for literal text
    int width = 0;
    std::string literal;
};

// Splits a pattern into fields; nothing when it holds a field this reader does not know.
std::optional<std::vector<Field>> Tokenise(std::string_view pattern) {
    std::vector<Field> fields;
    for (size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        if (c == 'd' || c == 'M' || c == 'y') {
            size_t j = i;
            while (j < pattern.size() && pattern[j] == c) ++j;
            int width = static_cast<int>(j - i);
            if ((c != 'y' && width > 2) || width == 3 || width > 4) return std::nullopt;
            fields.push_back({c, width, {}});
            i = j;
        } else if (c == '\'') {
            size_t j = pattern.find('\'', i + 1);
            if (j == std::string_view::npos) return std::nullopt;
            fields.push_back({0, 0, std::string(pattern.substr(i + 1, j - i - 1))});
            i = j + 1;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            return std::nullopt;
        } else {
            fields.push_back({0, 0, std::string(1, c)});
            ++i;
        }
    }
    return fields;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// The number's digits, with leading zeros up to `width` characters.
std::string ZeroPadded(int value, int width) {
    std::string digits = std::to_string(value);
    if (value >= 0 && static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

}  // namespace

std::string FormatShortDate(const Date& date, std::string_view pattern) {
    auto fields = Tokenise(pattern);
    if (!fields) fields = Tokenise("yyyy-MM-dd");
    std::string out;
    for (const Field& f : *fields) {
        if (f.letter == 0) {
            out += f.literal;
            continue;
        }
        int value = f.letter == 'd' ? date.day : f.letter == 'M' ? date.month : date.year;
        int width = f.width == 1 ? 1 : 2;
        if (f.letter == 'y') {
            if (f.width <= 2)
                value %= 100;
            else
                width = 4;
        }
        out += ZeroPadded(value, width);
    }
    return out;
}

std::optional<Date> ParseShortDate(std::string_view text, std::string_view pattern) {
    auto fields = Tokenise(pattern);
    if (!fields) return std::nullopt;
    Date date{0, 0, 0};
    size_t pos = 0;
    for (const Field& f : *fields) {
        if (f.letter == 0) {
            if (text.substr(pos, f.literal.size()) != f.literal) return std::nullopt;
            pos += f.literal.size();
            continue;
        }
        size_t max_digits = f.letter == 'y' ? 4 : 2;
        size_t start = pos;
        int value = 0;
        while (pos < text.size() && pos - start < max_digits && text[pos] >= '0' && text[pos] <= '9')
            value = value * 10 + (text[pos++] - '0');
        if (pos == start) return std::nullopt;
        if (f.letter == 'd') date.day = value;
        if (f.letter == 'M') date.month = value;
        if (f.letter == 'y') date.year = pos - start <= 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
    }
    if (pos != text.size()) return std::nullopt;
    if (date.year < 1601 || date.month < 1 || date.month > 12) return std::nullopt;
    if (date.day < 1 || date.day > DaysInMonth(date.year, date.month)) return std::nullopt;
    return date;
}

long DaysSinceEpoch(const Date& date) {
    // Civil-from-days inverse (Howard Hinnant's algorithm).
    int y = date.year - (date.month <= 2 ? 1 : 0);
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153L * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace lumoff::settings
