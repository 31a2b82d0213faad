#include "bootstrap/core/launch.h"

#include "support/text.h"

std::string SourceFolderOf(std::string_view modulePath) {
  const size_t slash = modulePath.rfind('\\');
  std::string folder(slash == std::string_view::npos ? modulePath : modulePath.substr(0, slash));
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

std::string CurrentDirectoryForm(std::string_view folder) {
  std::string form = UpperAscii(folder);
  if (form.size() > 3 && form.back() == '\\') form.pop_back();
  return form;
}

std::string WorkFolder(std::string_view windowsDirectory, std::string_view name) {
  return EnsureBackslash(windowsDirectory) + std::string(name) + "\\";
}

std::string ArgumentsOf(std::string_view commandLine) {
  size_t i = 0;
  const auto blank = [&](size_t at) { return commandLine[at] == ' ' || commandLine[at] == '\t'; };
  while (i < commandLine.size() && blank(i)) ++i;
  if (i < commandLine.size() && commandLine[i] == '"') {
    const size_t close = commandLine.find('"', i + 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && !blank(i)) ++i;
  while (i < commandLine.size() && blank(i)) ++i;
  return std::string(commandLine.substr(i));
}

std::string InterpreterCommandLine(std::string_view programFolder, std::string_view temporaryFolder,
                                   std::string_view sourceDirectory, std::string_view arguments) {
  std::string line = UpperAscii(std::string(programFolder) + "TALVEN.EXE " + std::string(temporaryFolder) +
                                "SETUP.QLS /DIR:\"" + std::string(sourceDirectory) + "\"");
  if (!arguments.empty()) line += " " + std::string(arguments);
  return line;
}

std::string FillMessage(std::string_view message, std::string_view first, std::string_view second) {
  std::string text;
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '%' && i + 1 < message.size() && (message[i + 1] == '1' || message[i + 1] == '2')) {
      text += message[i + 1] == '1' ? first : second;
      ++i;
    } else {
      text += message[i];
    }
  }
  return text;
}

std::string FolderMessage(std::string_view message, std::string_view folder) {
  std::string text(message);
  ReplaceAll(text, "#Folder#", folder, false);
  return text;
}
