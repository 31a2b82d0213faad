// File dates and times, file lengths and the current date: GETFILEDATETIME(, SETFILEDATE(,
// SETFILETIME(, GETFILELENGTH(, GETDATETIME(.
#include <windows.h>

#include "commands/date_time.h"
#include "commands/file_commands_win32.h"
#include "commands/file_info_win32.h"
#include "support/file_helpers_win32.h"
#include "support/text.h"

namespace {

// The file's last-write time as the copy engine reads it; false when it cannot be opened.
bool ReadFileDateTime(const std::string& path, DateTime& value) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME written{};
  GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  value = ToDateTime(CopyDateTime(written));
  return true;
}

int GetFileDateTimeCommand(Interpreter& ip, TokenLine& line) {
  std::string path, result, templ = "DD/MM/CCYY HH:XX:SS";
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (int r = ReadVariableParam(ip, line, 2, result)) return r;
  if (IsStringToken(ParamToken(line, 3))) ReadStringParam(ip, line, 3, templ);
  if (int r = SetErrorVariable(ip, 1)) return r;
  DateTime value;
  if (!ReadFileDateTime(path, value)) return 0;
  if (int r = ip.variables.SetVariable(result, FormatDateTime(templ, value))) return r;
  return SetErrorVariable(ip, 0);
}

// SETFILEDATE( and SETFILETIME(: the parsed date (or time) with the file's own time (or date).
int SetFilePartCommand(Interpreter& ip, TokenLine& line, bool date) {
  std::string path, text, templ;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (int r = ReadStringParam(ip, line, 2, text)) return r;
  if (int r = ReadStringParam(ip, line, 3, templ)) return r;
  SYSTEMTIME now;
  GetLocalTime(&now);
  DateTime parsed;
  std::string monthTrace;
  const int invalid = ParseDateTime(text, templ, ToDateTime(now), parsed, &monthTrace);
  if (!monthTrace.empty()) ip.log.LogText(monthTrace + "\r\n");
  if (invalid != 0) {
    line.paramNo = 2;
    return date ? ERR_INVALID_DATE : ERR_INVALID_TIME;
  }
  if (int r = SetErrorVariable(ip, 1)) return r;
  DateTime current;
  if (!ReadFileDateTime(path, current)) return 0;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  DateTime next = current;
  if (date) {
    next.year = parsed.year, next.month = parsed.month, next.day = parsed.day;
  } else {
    next.hour = parsed.hour, next.minute = parsed.minute, next.second = parsed.second;
  }
  const bool set = SetCopyDateTime(file, ToSystemTime(next));
  CloseHandle(file);
  return set ? SetErrorVariable(ip, 0) : 0;
}

int SetFileDateCommand(Interpreter& ip, TokenLine& line) { return SetFilePartCommand(ip, line, true); }
int SetFileTimeCommand(Interpreter& ip, TokenLine& line) { return SetFilePartCommand(ip, line, false); }

int GetFileLengthCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return SetErrorVariable(ip, -1);
  FindClose(search);
  return SetErrorVariable(ip, static_cast<int32_t>(found.nFileSizeLow));
}

int GetDateTimeCommand(Interpreter& ip, TokenLine& line) {
  std::string result, templ = "DD/MM/CCYY";
  if (int r = ReadVariableParam(ip, line, 1, result)) return r;
  if (IsStringToken(ParamToken(line, 2))) ReadStringParam(ip, line, 2, templ);
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ip.variables.SetVariable(result, FormatDateTime(templ, ToDateTime(now)));
}

}  // namespace

void AddFileDateCommands(CommandTable& table) {
  table.Add(TOK_GETFILEDATETIME, GetFileDateTimeCommand);
  table.Add(TOK_SETFILEDATE, SetFileDateCommand);
  table.Add(TOK_SETFILETIME, SetFileTimeCommand);
  table.Add(TOK_GETFILELENGTH, GetFileLengthCommand);
  table.Add(TOK_GETDATETIME, GetDateTimeCommand);
}
