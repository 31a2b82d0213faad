// The rules of program groups and shortcuts that need no machine: the command texts sent to
// Program Manager, the shell folder a folder argument names, the profile folder of another
// user, and the file name a link title becomes.
#pragma once

#include <cstdint>
#include <string>

// Program Manager's command texts. Group names and titles always stand between double quotes;
// a command, icon file or working directory only when it holds a blank.
std::string QuoteIfBlank(const std::string& text);
std::string CreateGroupText(const std::string& name, const std::string& groupFile);
std::string ShowGroupText(const std::string& name, int32_t state);
std::string DeleteGroupText(const std::string& name);
std::string DeleteItemText(const std::string& title);
std::string ReloadText(const std::string& group, bool withGroup);

// An item as MAKEICON( describes it; an icon index of -1 means none.
struct GroupItem {
  std::string title, command, arguments, iconFile, workingDirectory;
  int32_t iconIndex = -1;
};
std::string AddItemText(const GroupItem& item);

// The shell folder kinds a folder argument can begin with, tested in this order.
enum class ShellFolderKind { Desktop, StartUp, Programs, StartMenu, None };
ShellFolderKind ClassifyShellFolder(const std::string& folder);
// The value under Explorer's "Shell Folders" key that names the common folder of [kind].
const char* CommonFolderValueName(ShellFolderKind kind);
// The common folder read from the registry, with the group part of the programs kind's folder
// argument in place of its "Start Menu\Programs".
std::string CommonFolderPath(const std::string& value, ShellFolderKind kind, const std::string& folder);

// The same folder of another user: the component of [path] that holds [account] (found without
// regard to case) becomes [user]. A profile folder with a '.' in its name ("jo.DOMAIN") gives
// the user the same suffix. [user] receives the name used; [path] is unchanged when the account
// does not occur in it.
std::string SwitchProfileUser(const std::string& path, const std::string& account, std::string& user);

// A link title or a group name as one name in a folder: every character that a file name
// cannot hold (control characters and \ / : * ? " < > |) and the dots it begins with become '_',
// so that a title never names another folder ("..\..\x" stays in its group, and so does
// "..x", which some shells read as a step up) and never ends the quotes of a DDE command.
std::string ShellEntryName(const std::string& title);
