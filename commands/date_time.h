// Dates and times as scripts read and write them: the DateTime record, its formatting with a
// template such as "DD/MM/CCYY HH:XX:SS", and the reading of a date or time by a template.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>

struct DateTime {
  int year = 1980;
  int month = 1;  // 1..12
  int day = 1;
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// 0 for Sunday .. 6 for Saturday.
int DayOfWeek(const DateTime& value);
int DaysInMonth(int year, int month);  // February has 29 days in every year divisible by 4

// Fills [templateText] (upper-cased first): DDDD day name, DDD its first three letters, DD and
// D the day, MMMM month name, MMM its first three letters, MM the month, CC the century, YY the
// year in the century, TT the day's English ordinal suffix, HH hour, XX minute, SS second, P
// "p" after 11 o'clock else "a"; replaced in that order, each on every occurrence.
std::string FormatDateTime(const std::string& templateText, const DateTime& value);

// Reads a date and time from [text] where the codes of [templateText] stand (DD, MM or MMM,
// CC, YY, HH, XX, SS); fields the template lacks take their defaults, and a missing YY takes
// the next occurrence of the date from [today]. Returns 0 when the result is valid, else 5 for
// the year, 4 the month, 3 the day, 8 the hour, 9 the minute, 10 the second. [monthTrace]
// receives the month-name lookup when the template has MMM.
int ParseDateTime(const std::string& text, const std::string& templateText, const DateTime& today, DateTime& out,
                  std::string* monthTrace = nullptr);
