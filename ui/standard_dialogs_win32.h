// The parts of DIALOGBOX( that show something: the built-in pages, the directory browser that
// ASKPATH opens, and the system's open and save dialogs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/dialog_template_win32.h"
#include "ui/standard_pages.h"
#include "ui/standard_templates.h"

struct Interpreter;

// Runs [page] modally, owned by the main window; [press] says who answers it (a person, or the
// page itself: RunModalDialog). [closingId] gets what ERROR is to hold. 0, or 10034 when the
// page could not be made.
int RunStandardPage(Interpreter& ip, const StandardPage& page, int32_t& closingId, int press);

// OPENFILE and SAVEAS: [closingId] 1 with FILENAME set when the user chose a file, else 2.
void RunFileDialog(Interpreter& ip, bool save, int32_t& closingId);

// The directory browser over [owner]; true with [chosen] (upper case) when it ended with OK.
// It changes the process's current directory: the caller puts it back.
bool RunDirectoryBrowser(Interpreter& ip, HWND owner, std::string& chosen);

// A variable's value as a page shows it: with its text macros expanded when [expand] is set
// (messages and captions; never the values the user edits).
std::string PageVariable(Interpreter& ip, const std::string& name, bool expand = true);
// The page texts by number, in the run's language.
PageTextLookup PageTexts(Interpreter& ip);
