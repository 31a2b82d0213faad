// The ten numbered file streams: OPEN( binds a file to a stream in a mode, READLINE( and
// WRITELINE( move lines, SETFILEPOS( and GETFILEPOS( the position, CLOSE( releases.
#include <windows.h>

#include "commands/command_families.h"
#include "commands/command_state_win32.h"
#include "engine/executor.h"
#include "support/text_file_edit_win32.h"
#include "support/win32.h"

namespace {

constexpr int32_t kModeRead = 0, kModeWrite = 1, kModeReadWrite = 2, kModeAppend = 20;
// READLINE( reads into a buffer of this size: a longer line comes back in pieces of 254.
constexpr int kLineBuffer = 255;

FileStreams& Streams(Interpreter& ip) { return ip.commandState->streams; }

HANDLE OpenFileInMode(const std::string& name, int32_t mode) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
  // Writing modes leave a read-only file alone, as Windows does (Wine run by root would not).
  if (mode != kModeRead && IsReadOnlyFile(name)) return INVALID_HANDLE_VALUE;
  switch (mode) {
    case kModeRead: return CreateFileA(name.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, 0, nullptr);
    case kModeWrite: return CreateFileA(name.c_str(), GENERIC_WRITE, kShare, nullptr, CREATE_ALWAYS, 0, nullptr);
    // An existing file is opened as it is and a missing one created, in one step: a file that
    // exists but could not be opened is never emptied.
    default: return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_ALWAYS, 0, nullptr);
  }
}

// OPEN( file, stream, mode ): ERROR 0 when the stream is open afterwards, 1 when not.
int OpenCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  int32_t number = 0, mode = 0;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (int r = ReadNumberParam(ip, line, 2, number)) return r;
  if (int r = ReadNumberParam(ip, line, 3, mode)) return r;
  FileStream* stream = Streams(ip).At(number);
  if (!stream) return ERR_INVALID_STREAM;
  if (stream->IsOpen()) return ERR_STREAM_IN_USE;
  if (mode != kModeRead && mode != kModeWrite && mode != kModeReadWrite && mode != kModeAppend)
    return ERR_INVALID_FILE_MODE;
  stream->mode = mode;
  stream->name = name;
  stream->handle = OpenFileInMode(name, mode);
  if (stream->IsOpen() && mode == kModeAppend) SetFilePointer(stream->handle, 0, nullptr, FILE_END);
  return SetErrorVariable(ip, stream->IsOpen() ? 0 : 1);
}

// CLOSE( stream ) closes one stream, "CLOSE()" every stream; anything else is ignored.
int CloseCommand(Interpreter& ip, TokenLine& line) {
  const int32_t token = ParamToken(line, 1);
  if (token == ')') {
    Streams(ip).CloseAll();
    return 0;
  }
  if (!IsNumberToken(token)) return 0;
  const int32_t number = NumberParam(ip, line, line.cursor);
  if (CurrentError(ip) != 0) return 0;
  if (FileStream* stream = Streams(ip).At(number)) stream->Close();
  return 0;
}

// READLINE( stream, variable ): the next line (in pieces of 254) and ERROR 0, or ERROR 2 (EOF)
// with the variable unchanged.
int ReadLineCommand(Interpreter& ip, TokenLine& line) {
  if (int r = CheckNumber(line, line.cursor, 1)) return r;
  line.paramNo = 2;
  if (line.At(line.cursor + 2) != TOK_VARIABLE) return ERR_INVALID_VARIABLE_NAME;
  const int32_t number = NumberParam(ip, line, line.cursor);
  if (int r = CurrentError(ip)) return r;
  const std::string variable = VariableName(ip, line);
  FileStream* stream = Streams(ip).At(number);
  if (!stream) return ERR_INVALID_STREAM;
  if (!stream->IsOpen()) return ERR_STREAM_NOT_OPEN;
  if (stream->mode != kModeRead && stream->mode != kModeReadWrite) return ERR_STREAM_NOT_READABLE;
  char buffer[kLineBuffer];
  if (!ReadTextLine(stream->handle, buffer, kLineBuffer)) return SetErrorVariable(ip, 2);
  if (int r = ip.variables.SetVariable(variable, buffer)) return r;
  return SetErrorVariable(ip, 0);
}

// WRITELINE( stream, text ): the text and CR LF at the current position; ERROR 0.
int WriteLineCommand(Interpreter& ip, TokenLine& line) {
  int32_t number = 0;
  std::string text;
  if (int r = ReadNumberParam(ip, line, 1, number)) return r;
  if (int r = ReadStringParam(ip, line, 2, text)) return r;
  FileStream* stream = Streams(ip).At(number);
  if (!stream) return ERR_INVALID_STREAM;
  if (!stream->IsOpen()) return ERR_STREAM_NOT_OPEN;
  if (stream->mode == kModeRead) return ERR_STREAM_NOT_WRITABLE;
  WriteTextLine(stream->handle, text);
  return SetErrorVariable(ip, 0);
}

// SETFILEPOS( stream, offset, origin ): origin 1 the current position, 2 the end, any other
// value the start.
int SetFilePosCommand(Interpreter& ip, TokenLine& line) {
  int32_t number = 0, offset = 0, origin = 0;
  if (int r = ReadNumberParam(ip, line, 1, number)) return r;
  if (int r = ReadNumberParam(ip, line, 2, offset)) return r;
  if (int r = ReadNumberParam(ip, line, 3, origin)) return r;
  FileStream* stream = Streams(ip).At(number);
  if (!stream) return ERR_INVALID_STREAM;
  if (!stream->IsOpen()) return ERR_STREAM_NOT_OPEN;
  const DWORD method = origin == 1 ? FILE_CURRENT : origin == 2 ? FILE_END : FILE_BEGIN;
  SetFilePointer(stream->handle, offset, nullptr, method);
  return 0;
}

// GETFILEPOS( stream, variable ): the current position in bytes from the start.
int GetFilePosCommand(Interpreter& ip, TokenLine& line) {
  int32_t number = 0;
  std::string variable;
  if (int r = ReadNumberParam(ip, line, 1, number)) return r;
  if (int r = ReadVariableParam(ip, line, 2, variable)) return r;
  FileStream* stream = Streams(ip).At(number);
  if (!stream) return ERR_INVALID_STREAM;
  if (!stream->IsOpen()) return ERR_STREAM_NOT_OPEN;
  return ip.variables.SetVariableNumber(variable, SetFilePointer(stream->handle, 0, nullptr, FILE_CURRENT));
}

}  // namespace

void AddStreamCommands(CommandTable& table) {
  table.Add(TOK_OPEN, OpenCommand);
  table.Add(TOK_CLOSE, CloseCommand);
  table.Add(TOK_READLINE, ReadLineCommand);
  table.Add(TOK_WRITELINE, WriteLineCommand);
  table.Add(TOK_SETFILEPOS, SetFilePosCommand);
  table.Add(TOK_GETFILEPOS, GetFilePosCommand);
}
