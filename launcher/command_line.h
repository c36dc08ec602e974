// The command line as the launcher reads it.
#pragma once
#include <string>

// The tail of a raw command line: the program's name is skipped (a quoted name up
// to its closing quote, else everything up to the first blank or control
// character), then the blanks after it.
std::string CommandTail(const char* commandLine);

// Silent mode: "-u" or "-U" anywhere in the tail, also inside a longer word.
bool WantsSilentMode(const std::string& tail);
