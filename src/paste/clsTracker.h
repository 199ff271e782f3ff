#pragma once
// The foreground-window tracker. Four times a second the main window's
// tracking timer calls TrackForegroundWindow and then EnableTrayItems: the
// last foreground window that is not the main window, matches no tracking
// rule and has a class name and a caption becomes LastWindow.
#include <cstddef>
#include <string>

#include "paste/LastWindow.h"

// Class names and captions are cut to this many characters.
inline constexpr size_t kWindowTextMax = 254;

// What the tracker needs from the main window.
class ITrackerView {
 public:
  virtual ~ITrackerView() = default;
  // The main window's own handle (kNoWindow while it has none).
  virtual TWindowHandle MainWindowHandle() = 0;
  // Whether the window is one of the program's own (the main window, a
  // dialog, a menu): those are never a target.
  virtual bool IsOwnWindow(TWindowHandle window) {
    return window != kNoWindow && window == MainWindowHandle();
  }
  // Shows the text in the status-bar panel that names the last window.
  virtual void ShowLastWindow(const std::string& text) = 0;
};

// The top-level entries of the tray menu, each with its tag (-1 for the
// fixed entries, which are never touched).
class ITrayEntries {
 public:
  virtual ~ITrayEntries() = default;
  virtual int EntryCount() = 0;
  virtual int EntryTag(int index) = 0;
  virtual void SetEntryEnabled(int index, bool enabled) = 0;
};

TWindowHandle GetForegroundWindowHandle();
// The window's class name / caption, at most kWindowTextMax characters; empty
// when the system gives nothing.
std::string GetWindowClassName(TWindowHandle window);
std::string GetWindowCaption(TWindowHandle window);
// True when a tracking rule of the options matches the window texts.
bool IsWindowExcluded(const std::string& className, const std::string& caption);
// One tick: updates LastWindow and the status-bar text.
void TrackForegroundWindow(ITrackerView& view);
// Enables the library entries of the tray menu while LastWindow holds a
// window. Does nothing while there is no tray menu (null).
void EnableTrayItems(ITrayEntries* entries);
// "Last Window: <caption> / <class name>"
std::string LastWindowText(const std::string& caption, const std::string& className);
