// The environment and start-up file commands' text edits, which need no machine: "SET" and
// "PATH" lines of a start-up batch file, the "Path" value of an environment, and the "FILES="
// and "BUFFERS=" lines of a start-up configuration file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every line trimmed of spaces at both ends; the line "SET name=..." (any case) becomes
// "SET name=value", or stays when the value is empty; "SET name=value" is appended when there
// was none and the value is not empty.
std::vector<std::string> SetBatchVariable(const std::vector<std::string>& lines, const std::string& name,
                                          const std::string& value);

// Lines that set the path ("PATH ..." or "SET PATH=...") get ";" and [directory] unless they
// hold it already (any case); "PATH=directory" is appended when there was none.
std::vector<std::string> AddBatchPath(const std::vector<std::string>& lines, const std::string& directory);

// An environment's "Path" value with "%SystemRoot%" (exact case) replaced by the Windows
// directory, in the value and in [directory], and [directory] appended after a ";" unless it
// occurs already (any case).
std::string AddToPathValue(std::string path, const std::string& windowsDirectory, std::string directory);

struct ConfigEdit {
  std::vector<std::string> lines;
  int changes = 0;  // lines changed or added
};

// "FILES=" and "BUFFERS=" lines (found with every space removed, any case) whose number is
// below [files] or [buffers] get that number after their "=", the text before it kept; a value
// above 0 that has no line is appended. A value of 0 or less leaves its setting alone.
ConfigEdit RaiseConfigValues(const std::vector<std::string>& lines, int32_t files, int32_t buffers);
