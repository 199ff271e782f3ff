#pragma once
// The program's messages in English and Portuguese. Text(id) picks the
// language of the running program (the descriptor's English flag; English
// before the descriptor exists); Text(id, english) picks it explicitly.
#include <string>

enum class Str {
#define X(id, en, pt) id,
#include "app/Strings.def"
#undef X
  Count_
};

const std::string& Text(Str id);
const std::string& Text(Str id, bool english);
