// The attribute lists of the ODBC commands, which need no machine: the check for a data source
// name, and the zero-separated lists the ODBC installer reads.
#pragma once

#include <string>

// True when one of the KEY=value pairs of [attributes] (pairs separated by line feeds; a second
// '=' in a pair switches back to its key) has the key "DSN", exactly. Every pair is looked at,
// however many there are.
bool HasDataSourceName(const std::string& attributes);

// The attribute text as the data-source configuration reads it: every line feed a zero byte,
// the list ended by an empty entry.
std::string DataSourceAttributeList(const std::string& attributes);

// "DESCRIPTION\0KEYWORD=FILE\0Setup=SETUP\0\0": a driver's or translator's entry for the
// installer ([keyword] "Driver" or "Translator").
std::string ComponentAttributeList(const std::string& description, const char* keyword, const std::string& file,
                                   const std::string& setupFile);
