// Program Manager's DDE commands and the shell folders, shared by the group and shortcut
// commands and by whatever else places entries in the shell.
#pragma once

#include <string>

struct Interpreter;

// One DDE execute transaction with Program Manager over the interpreter's DDE instance:
// 0, 10047 (no conversation) or 10048 (the command was refused). Logged either way.
int SendProgmanCommand(Interpreter& ip, const std::string& text);

// The shell folder [folder] ("Desktop", "Start Menu\Programs\StartUp", "Start Menu\Programs",
// "Start Menu", and what follows) of [user] ("All Users", "Current User" or an account name),
// ending in a backslash.
std::string GetIconFolder(Interpreter& ip, std::string user, const std::string& folder);
