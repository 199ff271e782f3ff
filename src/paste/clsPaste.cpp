#include "paste/clsPaste.h"

#include <string>
#include <utility>

#include "framework/SLText.h"
#include "library/clsLibrary.h"
#include "paste/SLKeys.h"
#include "paste/clsTracker.h"
#include "platform/Desktop.h"
#include "rules/SLRules.h"
#include "rules/clsOptions.h"

bool PasteByRule(TWindowHandle window) {
  if (VLMNOptions == nullptr) return false;
  // Read afresh: the texts the tracker saw may be stale.
  const TWindowTexts texts{GetWindowClassName(window), GetWindowCaption(window)};
  const TSLPastingRule* rule = FindPastingRule(VLMNOptions->PastingRules, texts);
  if (rule == nullptr || rule->Standard) return false;
  // Copied: typing must not depend on the rule list staying put.
  const std::vector<std::string> keys = rule->Keys;
  for (const std::string& entry : keys) PressShortCut(static_cast<uint16_t>(StrToInt(entry)));
  return true;
}

void PasteItemClick(const TSLList<TPasteItem>& trayItems, int tag, TPasteDone done) {
  auto finish = [&done](TPasteOutcome outcome) {
    if (done) done(outcome);
  };
  if (tag < 0 || tag >= trayItems.Count() || trayItems[tag] == nullptr || LastWindow == kNoWindow) {
    finish(TPasteOutcome::Ignored);
    return;
  }
  const TWindowHandle target = LastWindow;
  // Stored values break lines with CR LF (older ones may hold bare LFs); the
  // receiving program gets the platform's own line breaks.
  // Keys typed without the text on the clipboard would paste whatever was
  // there before (maybe a password).
  if (!ClipboardWriter().SetText(ToPlatformLineBreaks(trayItems[tag]->Value))) {
    finish(TPasteOutcome::NotOnClipboard);
    return;
  }
  WindowSystem().Activate(target, [target, done = std::move(done)](bool active) {
    if (!active) {
      if (done) done(TPasteOutcome::Refused);
      return;
    }
    if (!PasteByRule(target)) PressCtrlChar('V');
    if (done) done(TPasteOutcome::Delivered);
  });
}
