// A person at the screen for DIALOGBOX('s pages: the page runs modally on the test's thread
// (inside the statement), while a second thread finds it, reads it, types, ticks and presses
// as a user would. A page the person leaves open is cancelled, so a failing test never hangs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class InProcessRun;

// The title the tests give their pages (CAPTION).
constexpr char kPageTitle[] = "Quillset Pages";

// Runs [line] while [act] handles the page titled [title]; returns the line's result.
int WithUser(InProcessRun& run, const std::string& line, const std::function<void(HWND page)>& act,
             const char* title = kPageTitle);

// A visible dialog of this process titled [title] (nullptr: any title) other than [besides];
// nullptr after the time.
HWND WaitForDialog(const char* title, HWND besides = nullptr, DWORD timeoutMs = 20000);

// Lets [window] and its controls paint, then keeps its picture as artefacts/dialogs/[name].bmp.
void KeepPicture(HWND window, const std::string& name);

// Types [text] into an edit field key by key, over what it held.
void TypeInto(HWND edit, const std::string& text);
// A key press that the page's dialog manager sees (Escape, Enter).
void PressKey(HWND page, UINT virtualKey);
// The close box in the title bar.
void PressCloseBox(HWND page);
std::string ControlText(HWND page, int id);
