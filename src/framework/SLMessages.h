#pragma once
// The vocabulary of the two message dialogs, shared by the core and the UI.
// Every enumeration is one byte and its numbers are part of the interface.
#include <cstdint>
#include <string>

#include "framework/SLExceptions.h"  // TSLMessageType

enum TSLMessageButtons : uint8_t {
  smbOK = 0,
  smbYesNo = 1,
  smbYesNoCancel = 2,
  smbYesNoCancelAll = 3,
  smbYesNoToAllCancel = 4
};

enum TSLMessageResult : uint8_t {
  smrOK = 0,
  smrYes = 1,
  smrYesToAll = 2,
  smrNo = 3,
  smrNoToAll = 4,
  smrCancel = 5,
  smrAll = 6
};

enum TSLLanguage : uint8_t { slPortuguese = 0, slEnglish = 1 };

// The descriptor's English flag as a dialog language.
inline TSLLanguage LanguageOf(bool english) {
  return english ? slEnglish : slPortuguese;
}

// Lone LF line ends become CR LF, CR LF pairs stay, and a LF at the very end
// is dropped (from a final CR LF too, which leaves the CR).
std::string NormalizeLineBreaks(const std::string& s);
