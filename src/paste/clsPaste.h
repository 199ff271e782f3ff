#pragma once
// The paste engine: a click on a paste item's tray entry puts the item's text
// on the clipboard, brings LastWindow to the front and types the paste keys
// into it (Ctrl+V, or the keys of the first matching pasting rule).
#include <functional>

#include "library/SLList.h"
#include "paste/LastWindow.h"

class TPasteItem;

enum class TPasteOutcome {
  Ignored,         // no such item, or no remembered window: nothing happened
  Refused,         // the window could not be activated: the text is on the clipboard, nothing typed
  Delivered,       // the window was activated and the paste keys (if any) were typed
  NotOnClipboard,  // another program kept the clipboard: nothing activated, nothing typed
};
using TPasteDone = std::function<void(TPasteOutcome)>;

// The click of the tray entry whose tag is `tag` (its index in trayItems).
// The keys are typed once the window system reports the window active, which
// may be after this returns (the event loop keeps running meanwhile); `done`
// then learns the outcome. A key entry that is not a number throws
// EConvertError out of whatever delivered the activation answer, after the
// combinations before it were typed; `done` is then not called.
void PasteItemClick(const TSLList<TPasteItem>& trayItems, int tag, TPasteDone done = {});

// Applies the first pasting rule that matches the window's present class name
// or caption: true when it typed the rule's keys (possibly none), false when
// the standard keystroke is still to be typed.
bool PasteByRule(TWindowHandle window);
