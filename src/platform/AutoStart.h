#pragma once
// The start-with-system seam. On Windows it is the HKCU Run value "VLMN"; on
// Linux the XDG autostart entry ~/.config/autostart/kvlmn.desktop.
#include <string>

class IAutoStart {
 public:
  virtual ~IAutoStart() = default;
  virtual bool Exists() = 0;
  virtual void Write(const std::string& exeName) = 0;  // failures are silent
  virtual void Delete() = 0;
};

// The process-wide implementation; SetAutoStart installs another (tests), null restores it.
IAutoStart& AutoStartEntry();
void SetAutoStart(IAutoStart* autoStart);

// The Run value "VLMN" under HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run,
// through the registry routines: the Windows implementation and the tests' fake.
class TRegistryAutoStart : public IAutoStart {
 public:
  bool Exists() override;
  void Write(const std::string& exeName) override;
  void Delete() override;
};
