#include <gtest/gtest.h>

#include "commands/date_time.h"

TEST(FormatDateTime, FillsEveryCodeInOrder) {
  const DateTime v{2026, 12, 8, 14, 5, 9};
  EXPECT_EQ(FormatDateTime("DD/MM/CCYY HH:XX:SS", v), "08/12/2026 14:05:09");
  EXPECT_EQ(FormatDateTime("dddd, mmmm dtt", v), "Tuesday, December 8th");
  EXPECT_EQ(FormatDateTime("DDD MMM YY P", v), "Tue Dec 26 p");
  EXPECT_EQ(FormatDateTime("HH:XXA", {2026, 1, 1, 9, 30, 0}), "09:30A");  // the final A is no code
  EXPECT_EQ(FormatDateTime("MM/DD/YY", {1999, 2, 3, 0, 0, 0}), "02/03/99");
  EXPECT_EQ(FormatDateTime("P", {1999, 2, 3, 11, 0, 0}), "a");
}

TEST(FormatDateTime, OrdinalSuffixes) {
  const int days[] = {1, 2, 3, 4, 10, 11, 12, 13, 21, 22, 23, 24, 30, 31};
  const char* expected[] = {"st", "nd", "rd", "th", "th", "th", "th", "th", "st", "nd", "rd", "th", "th", "st"};
  for (size_t i = 0; i < sizeof days / sizeof days[0]; ++i)
    EXPECT_EQ(FormatDateTime("TT", {2026, 1, days[i], 0, 0, 0}), expected[i]) << days[i];
}

TEST(ParseDateTime, ReadsFieldsWhereTheTemplateHasThem) {
  const DateTime today{2026, 12, 8, 0, 0, 0};
  DateTime v;
  EXPECT_EQ(ParseDateTime("29/02/04", "DD/MM/YY", today, v), 0);
  EXPECT_EQ(v.year, 2004);
  EXPECT_EQ(v.month, 2);
  EXPECT_EQ(v.day, 29);
  EXPECT_EQ(ParseDateTime("31/02/05", "DD/MM/YY", today, v), 3);
  EXPECT_EQ(ParseDateTime("01/13/05", "DD/MM/YY", today, v), 4);
  EXPECT_EQ(ParseDateTime("15/06/1998", "DD/MM/CCYY", today, v), 0);
  EXPECT_EQ(v.year, 1998);
  EXPECT_EQ(ParseDateTime("15/06/75", "dd/mm/yy", today, v), 0);
  EXPECT_EQ(v.year, 1975);
  EXPECT_EQ(ParseDateTime("23:59:58", "HH:XX:SS", today, v), 0);
  EXPECT_EQ(v.hour, 23);
  EXPECT_EQ(v.second, 58);
  EXPECT_EQ(ParseDateTime("24:00:00", "HH:XX:SS", today, v), 8);
  EXPECT_EQ(ParseDateTime("10:60:00", "HH:XX:SS", today, v), 9);
  EXPECT_EQ(ParseDateTime("10:10:61", "HH:XX:SS", today, v), 10);
}

TEST(ParseDateTime, MonthNamesAndAMissingYear) {
  const DateTime today{2026, 12, 8, 0, 0, 0};
  DateTime v;
  std::string trace;
  EXPECT_EQ(ParseDateTime("05 mar 01", "DD MMM YY", today, v, &trace), 0);
  EXPECT_EQ(v.month, 3);
  EXPECT_EQ(trace, "Get month num for: 'mar' =3");
  EXPECT_EQ(ParseDateTime("05 xyz 01", "DD MMM YY", today, v, &trace), 4);
  EXPECT_EQ(trace, "Get month num for: 'xyz' =-1");
  // Without a year: the next such date from today.
  EXPECT_EQ(ParseDateTime("01/12", "DD/MM", today, v), 0);
  EXPECT_EQ(v.year, 2027);
  EXPECT_EQ(ParseDateTime("20/12", "DD/MM", today, v), 0);
  EXPECT_EQ(v.year, 2026);
}
