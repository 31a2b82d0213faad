// Every window of the interpreter in one place: the main window with its backdrop, the copy
// gauge, the wait message, where dialogs go, the user objects, and the busy cursor. The Win32
// platform delegates its window hooks here; the window commands and the copy engine use it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/gauge_bar_win32.h"
#include "ui/main_window_win32.h"
#include "ui/user_objects.h"
#include "ui/window_geometry.h"

struct Interpreter;

// The dialog procedures of the copy gauge and the wait message.
INT_PTR CALLBACK CopyGaugeProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WaitMessageProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

class InstallerWindows {
 public:
  InstallerWindows() = default;
  InstallerWindows(const InstallerWindows&) = delete;
  InstallerWindows& operator=(const InstallerWindows&) = delete;
  ~InstallerWindows() { CloseAll(); }

  // The run whose CAPTION titles the windows, whose language labels the gauge, whose running
  // line the Cancel button redirects, and whose objects the windows show.
  void Attach(Interpreter& ip) { ip_ = &ip; }
  Interpreter* Attached() const { return ip_; }
  bool CreateMainWindow(HINSTANCE instance, const std::string& title);
  HWND MainHandle() const { return main_.Handle(); }
  MainWindow& Main() { return main_; }

  // The hourglass: on while the script runs, off while the gauge is open or the user is asked.
  void SetBusyCursor(bool on);
  bool BusyCursor() const { return busy_; }
  // Around a message box: the gauge and the wait message are disabled, and afterwards enabled
  // again with the focus on the gauge; the cursor is released meanwhile. Calls may nest.
  void BeginUserPrompt();
  void EndUserPrompt();

  // The copy gauge. Opening releases the busy cursor, creates the gauge if needed, titles it
  // and sets the bar's maximum; closing destroys it and takes the busy cursor up again.
  void OpenCopyGauge(int32_t total);
  void CloseCopyGauge();
  bool CopyGaugeOpen() const { return gauge_ != nullptr; }
  HWND CopyGaugeHandle() const { return gauge_; }
  GaugeBar Bar() const { return bar_; }
  // Counts every gauge that was closed: a copy that saw another number holds a dead gauge.
  unsigned GaugeGeneration() const { return gaugeGeneration_; }
  // Sets the status, source and destination lines; an empty text leaves its line as it is.
  void SetGaugeTexts(const std::string& status, const std::string& source, const std::string& destination);

  void ShowWaitMessage(const std::string& text);
  void HideWaitMessage();
  HWND WaitMessageHandle() const { return wait_; }
  const std::string& WaitMessageText() const { return waitText_; }

  DialogPlacement placement;
  // Moves [dialog] where the placement says (standard dialogs and the copy gauge).
  void PlaceDialog(HWND dialog) const;

  // SHOWBACKDROP(: 10059 or 10053 when [name] is no backdrop, else what showing it gives.
  int ShowBackdrop(const std::string& name);

  // The cue card on the backdrop, shown by name: at most one. An empty name closes it; a card
  // of that name that is showing stays as it is. 10059 when no object has the name, 10055 when
  // it is not a cue card; an error loading its bitmaps is shown to the user and the card stays.
  int ShowCueCard(const std::string& name);
  void CloseCueCard();
  HWND CueCardHandle() const { return cue_; }
  // SETCONTROLTEXT( and DESTROYOBJECT(: the windows that show object [name] repaint, or let go.
  void RepaintObject(const std::string& name);
  void ForgetObject(const std::string& name);
  // The end of the run: the cue card closes, the backdrop goes and the objects are deleted.
  void DestroyUserObjects();

  // The end of the run: the cue card, the wait message, the gauge (the cursor stays as it is)
  // and the main window.
  void CloseAll();

 private:
  friend INT_PTR CALLBACK CopyGaugeProcedure(HWND, UINT, WPARAM, LPARAM);
  friend INT_PTR CALLBACK WaitMessageProcedure(HWND, UINT, WPARAM, LPARAM);
  void DestroyGauge();
  void OnGaugeCancel();
  void InitGauge(HWND dialog);
  void PaintWaitMessage(HWND window);
  std::string Caption() const;
  static LRESULT CALLBACK CueCardProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PaintCueCard(HWND window);

  Interpreter* ip_ = nullptr;
  MainWindow main_;
  HWND gauge_ = nullptr;
  GaugeBar bar_;
  unsigned gaugeGeneration_ = 0;
  HWND wait_ = nullptr;
  std::string waitText_;
  HWND cue_ = nullptr;
  std::string cueName_;  // as SHOWCUECARD( gave it
  ObjectCanvas cueCanvas_;
  bool busy_ = false;
  int prompts_ = 0;
  bool busyBeforePrompt_ = false;
};

// A copy's hold on the copy gauge. Cancel may close the gauge while the copy lets messages
// through; every call checks first that the gauge it was made for is still open, and does
// nothing once it is gone.
class CopyGaugeLink {
 public:
  explicit CopyGaugeLink(InstallerWindows& windows)
      : windows_(windows), generation_(windows.GaugeGeneration()), open_(windows.CopyGaugeOpen()) {}
  bool Alive() const { return open_ && windows_.CopyGaugeOpen() && windows_.GaugeGeneration() == generation_; }
  int32_t Maximum() const { return Alive() ? windows_.Bar().Maximum() : 0; }
  int32_t Position() const { return Alive() ? windows_.Bar().Position() : 0; }
  void SetMaximum(int32_t maximum) {
    if (Alive()) windows_.Bar().SetMaximum(maximum);
  }
  void SetPosition(int32_t position) {
    if (Alive()) windows_.Bar().SetPosition(position);
  }
  void SetPositionPaced(int32_t position) {
    if (Alive()) windows_.Bar().SetPositionPaced(position);
  }
  void ShowSource(const std::string& text) {
    if (Alive()) windows_.SetGaugeTexts("", text, "");
  }
  void ShowTarget(const std::string& text) {
    if (Alive()) windows_.SetGaugeTexts("", "", text);
  }

 private:
  InstallerWindows& windows_;
  unsigned generation_;
  bool open_;
};
