#include "commands/date_time.h"

#include <cstdio>

#include "support/text.h"

namespace {

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

const char* OrdinalSuffix(int day) {
  const int last = day % 10;
  if ((day >= 10 && day <= 13) || last == 0 || last >= 4) return "th";
  return last == 1 ? "st" : last == 2 ? "nd" : "rd";
}

// The decimal number of the [width] characters at [code]'s place in the template, or
// [fallback] when the template lacks the code.
int Field(const std::string& text, const std::string& templ, const char* code, int fallback, size_t width = 2) {
  const size_t at = templ.find(code);
  if (at == std::string::npos) return fallback;
  return LeadingNumber(at < text.size() ? text.substr(at, width) : std::string());
}

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && year % 4 == 0 ? 29 : kDays[month - 1];
}

int DayOfWeek(const DateTime& v) {
  // Sakamoto's method on the Gregorian calendar.
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int year = v.year;
  if (v.month < 3) --year;
  const int month = v.month >= 1 && v.month <= 12 ? v.month : 1;
  return ((year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + v.day) % 7 + 7) % 7;
}

std::string FormatDateTime(const std::string& templateText, const DateTime& v) {
  std::string text = UpperAscii(templateText);
  const std::string dayName = kDayNames[DayOfWeek(v)];
  const std::string monthName = v.month >= 1 && v.month <= 12 ? kMonthNames[v.month - 1] : "";
  ReplaceAll(text, "DDDD", dayName, true);
  ReplaceAll(text, "DDD", dayName.substr(0, 3), true);
  ReplaceAll(text, "DD", TwoDigits(v.day), true);
  ReplaceAll(text, "D", std::to_string(v.day), true);
  ReplaceAll(text, "MMMM", monthName, true);
  ReplaceAll(text, "MMM", monthName.substr(0, 3), true);
  ReplaceAll(text, "MM", TwoDigits(v.month), true);
  ReplaceAll(text, "CC", TwoDigits(v.year / 100), true);
  ReplaceAll(text, "YY", TwoDigits(v.year % 100), true);
  ReplaceAll(text, "TT", OrdinalSuffix(v.day), true);
  ReplaceAll(text, "HH", TwoDigits(v.hour), true);
  ReplaceAll(text, "XX", TwoDigits(v.minute), true);
  ReplaceAll(text, "SS", TwoDigits(v.second), true);
  ReplaceAll(text, "P", v.hour > 11 ? "p" : "a", true);
  return text;
}

int ParseDateTime(const std::string& text, const std::string& templateText, const DateTime& today, DateTime& out,
                  std::string* monthTrace) {
  const std::string templ = UpperAscii(templateText);
  out = DateTime();
  out.day = Field(text, templ, "DD", 1);
  const size_t monthName = templ.find("MMM");
  if (monthName != std::string::npos) {
    const std::string name = monthName < text.size() ? text.substr(monthName, 3) : std::string();
    out.month = -1;
    for (int m = 0; m < 12; ++m)
      if (EqualsNoCase(name, std::string(kMonthNames[m]).substr(0, 3))) out.month = m + 1;
    if (monthTrace) *monthTrace = "Get month num for: '" + name + "' =" + std::to_string(out.month);
  } else {
    out.month = Field(text, templ, "MM", 1);
  }
  if (templ.find("YY") != std::string::npos) {
    const int digits = Field(text, templ, "YY", 0);
    out.year = Field(text, templ, "CC", 19) * 100 + digits;
    if (out.year < 1950) out.year = (digits >= 50 ? 1900 : 2000) + digits;
  } else {
    out.year = today.year;
    if (out.day < today.day && today.month >= out.month) ++out.year;
  }
  out.hour = Field(text, templ, "HH", 0);
  out.minute = Field(text, templ, "XX", 0);
  out.second = Field(text, templ, "SS", 0);

  if (out.year < 100) out.year += out.year > 49 ? 1900 : 2000;
  if (out.year < 1 || out.year > 9999) return 5;
  if (out.month < 1 || out.month > 12) return 4;
  if (out.day < 1 || out.day > DaysInMonth(out.year, out.month)) return 3;
  if (out.hour < 0 || out.hour > 23) return 8;
  if (out.minute < 0 || out.minute > 59) return 9;
  if (out.second < 0 || out.second > 59) return 10;
  return 0;
}
