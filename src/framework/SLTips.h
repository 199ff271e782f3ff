#pragma once
// The tips of the tip-of-the-day dialog: one tip per line of a plain text
// file beside the program, shown in a new random order at every opening.
#include <string>
#include <vector>

// The tips of the file: every line one tip, shown unchanged; lines end with
// CR LF, LF or CR, and a line break after the last line adds no tip. Throws
// std::runtime_error when the file cannot be read.
std::vector<std::string> ReadTipFile(const std::string& path);

// Puts the lines in a random order (the generator is seeded from the clock).
// Any exception inside is swallowed.
void ShuffleStrings(std::vector<std::string>& list);
