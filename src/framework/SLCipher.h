#pragma once
// A small reversible cipher for the few texts that are not kept readable in
// the program file (the version line's leading word, the splash warning, the
// missing-tip-file notice and the mail failure). Each byte is combined with a
// position-dependent key byte and the result is written as upper-case hex.
#include <string>
#include <string_view>

std::string Encipher(std::string_view plain);
// The inverse of Encipher; text that is not an even run of hex digits gives "".
std::string Decipher(std::string_view hex);

enum class TSLSecret {
  LeadingWord,     // first word of the version line on the splash and in the about box
  SplashWarning,   // the splash's warning line
  TipFileMissing,  // the notice when the tips are asked for and the tip file is missing
  MailFailure,     // the warning when Send Email fails
};

// The deciphered text in the given language.
std::string SecretText(TSLSecret id, bool english);
