#pragma once
// The desktop launchers behind one seam: the URL opener (web pages, help
// pages, mailto: addresses), starting a program, finding the system
// information tool and the short beep. The program installs the desktop's
// implementation at start; tests install a recorder. Without one, nothing is
// launched and every launch reports failure.
#include <string>
#include <string_view>

class ISLLauncher {
 public:
  virtual ~ISLLauncher() = default;
  // Hands the address to the desktop's URL opener; false when it could not be started.
  virtual bool OpenURL(const std::string& url) = 0;
  // Starts the program without arguments; false when it could not be started.
  virtual bool StartProgram(const std::string& path) = 0;
  // The installed system information program, or "" when there is none.
  virtual std::string FindSystemInfoProgram() = 0;
  virtual void Beep(int frequency, int milliseconds) = 0;
  // Why OpenURL answered false, for the user: what is missing or failed.
  virtual std::string OpenFailure();
};

ISLLauncher& Launcher();
// Installs a launcher (not owned); null restores the one that launches nothing.
void SetLauncher(ISLLauncher* launcher);

// Percent-encodes every byte except unreserved characters and those in `keep`.
std::string PercentEncode(std::string_view text, std::string_view keep = {});

// The web page launcher: an empty address opens nothing; an address whose
// first seven characters are not exactly "http://" (letter case counts) gets
// "http://" in front. When no program could open it, throws a warning
// (ESLException) that names the page and what is missing.
void OpenURL(const std::string& URL);
