#pragma once
// Start with the desktop session: an XDG autostart entry,
// ${XDG_CONFIG_HOME:-~/.config}/autostart/kvlmn.desktop.
#include <string>

#include "platform/AutoStart.h"

class TXdgAutoStart : public IAutoStart {
 public:
  // The entry's path, worked out from the environment on every call.
  static std::string EntryPath();
  // The desktop entry that starts the program at `exeName`.
  static std::string EntryText(const std::string& exeName);

  bool Exists() override;
  void Write(const std::string& exeName) override;
  void Delete() override;
};
