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
  ClipboardWriter().SetText(trayItems[tag]->Value);
  WindowSystem().Activate(target, [target, done = std::move(done)](bool active) {
    if (!active) {
      if (done) done(TPasteOutcome::Refused);
      return;
    }
    if (!PasteByRule(target)) PressCtrlChar('V');
    if (done) done(TPasteOutcome::Delivered);
  });
}
