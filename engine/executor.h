// The statement executor: dispatch on a line's first token, and the parameter access through
// which every command handler reads its parameters.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/interpreter.h"
#include "engine/tokens.h"

// Receives the line with [cursor] on the first token after the keyword; returns 0 or a
// ScriptError code. Handlers never throw.
using CommandHandler = int (*)(Interpreter& ip, TokenLine& line);

// One handler per token code 1..323, filled by each command family at start-up; an empty
// slot is "Invalid command". A line that begins with a value runs [valueLine].
struct CommandTable {
  std::array<CommandHandler, kLastKeyword + 1> byToken{};
  CommandHandler valueLine = nullptr;

  void Add(int32_t token, CommandHandler handler) { byToken[static_cast<size_t>(token)] = handler; }
};

// The command families. Each adds its handlers to the table.
void AddFlowCommands(CommandTable& table);       // GOTO CALL EXIT STOP SKIP( CHECKLABEL(
void AddBlockCommands(CommandTable& table);      // IF ELSE ENDIF WHILE WEND
void AddVariableCommands(CommandTable& table);   // SET ADDCHAR( STRIP( REPLACE( DUMPVARIABLES(
void AddErrorCommands(CommandTable& table);      // TRAPERROR(
void AddMessageCommands(CommandTable& table);    // MESSAGEBOX( SETLANGUAGE( GETLANGUAGE(
void AddObjectDefinitionCommands(CommandTable& table);  // CREATEBACKDROP( CREATEDIALOG( CREATECUECARD( ADDLISTITEM(

// The handlers that need no machine: what the native tests and the fuzz targets run.
CommandTable PortableCommandTable();

// Runs the statement whose tokens are [tokens] (a copy is made into [line]), and the one
// after a single-line IF that holds. Returns 0 or a ScriptError code.
int ExecuteLine(Interpreter& ip, TokenLine& line, const std::array<int32_t, kMaxTokens>& tokens);

// Redirects the running line to "GOTO :EXIT": the Cancel button of the copy gauge.
void InjectExitJump(Interpreter& ip);

// Parameter access. Values come off the stacks in token order: read left to right.
std::string StringParam(Interpreter& ip, TokenLine& line, int index, bool expand);
int32_t NumberParam(Interpreter& ip, TokenLine& line, int index);
std::string VariableName(Interpreter& ip, TokenLine& line);

inline bool IsStringToken(int32_t t) { return t == TOK_STRING || t == TOK_VARIABLE; }
inline bool IsNumberToken(int32_t t) { return t == TOK_NUMBER || t == TOK_VARIABLE; }

// The kind checks every handler makes before reading: 0, or 10019 / 10020 / 10021 with
// [paramNo] set to the parameter's number.
int CheckString(TokenLine& line, int index, int paramNo);
int CheckNumber(TokenLine& line, int index, int paramNo);
int CheckVariable(TokenLine& line, int index, int paramNo);

// Parameter [n] (1-based) of a command whose parameters stand at the cursor, cursor + 2, ...:
// checked for its kind and read, in one step. Each returns 0 or the kind's error.
int ReadStringParam(Interpreter& ip, TokenLine& line, int n, std::string& out);
int ReadNumberParam(Interpreter& ip, TokenLine& line, int n, int32_t& out);
int ReadVariableParam(Interpreter& ip, TokenLine& line, int n, std::string& name);
// A number that must be written as a literal (a variable is refused with 10020).
int ReadLiteralNumberParam(Interpreter& ip, TokenLine& line, int n, int32_t& out);
// Stores a command's outcome in ERROR, as most commands report it; returns what storing returned.
int SetErrorVariable(Interpreter& ip, int64_t value);

// The token kind at parameter [n]'s place.
inline int32_t ParamToken(const TokenLine& line, int n) { return line.At(line.cursor + 2 * (n - 1)); }
