// Script error codes and the reporting of failed lines.
#pragma once

#include <cstdint>
#include <string>

enum ScriptError : int32_t {
  SCRIPT_OK = 0,
#define SCRIPT_ERROR(code, name, text) ERR_##name = code,
#include "resources/texts/errors.def"
#undef SCRIPT_ERROR
};

// The number a user sees for a code: 10000 is error 01.
inline int32_t ShownErrorNumber(int32_t code) { return code - 9999; }

// The message of an error's text without the head that names the line and file ("Error %1 in
// line %2 of %3:") and without a trailing placeholder: "Invalid numeric parameter".
std::string ErrorMessageCore(std::string text);

struct Interpreter;

// The message for [code] with its placeholders filled from the current line and file,
// followed by an empty line and the line's text; at most 500 characters.
std::string FormatScriptError(Interpreter& ip, int32_t code);

// Closes the bootstrap's window and shows FormatScriptError(code) in a message box.
void ReportScriptError(Interpreter& ip, int32_t code);

// A message box whose icon and buttons come from a prefix of [text] ('*' '?' 'i' '!' and the
// digits 1..6); "%1" and "%2" are replaced by [first] and [second] when those are given.
// Returns the button the user chose.
int ShowCodedMessage(Interpreter& ip, std::string text, int helpId, const char* first, const char* second);
int ShowResourceMessage(Interpreter& ip, int id, int helpId, const char* first, const char* second);

// How a failed statement is handled: the four modes of TRAPERROR(.
struct ErrorTrap {
  int32_t showErrors = 1;
  int32_t trapErrors = 0;
};
