// String-table texts with insertion markers, as the system message formatter
// fills them: "%1" takes the first argument as text, "%1!u!" as an unsigned
// number (any printf-style "!...!" takes the argument as given), "%%" is "%".
#pragma once
#include <string>
#include <vector>

std::string FormatMessageText(const std::string& pattern, const std::vector<std::string>& arguments);
