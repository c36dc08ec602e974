#include "format_message.h"

std::string FormatMessageText(const std::string& pattern, const std::vector<std::string>& arguments) {
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            text += pattern[i];
            continue;
        }
        const char next = pattern[i + 1];
        if (next == '%') {
            text += '%';
            ++i;
            continue;
        }
        if (next < '1' || next > '9') {
            text += '%';
            continue;
        }
        size_t end = i + 1;
        size_t number = 0;
        while (end < pattern.size() && end < i + 3 && pattern[end] >= '0' && pattern[end] <= '9')
            number = number * 10 + static_cast<size_t>(pattern[end++] - '0');
        // A "!format!" after the number says how the argument was made; the
        // caller hands every argument over as its text already.
        if (end < pattern.size() && pattern[end] == '!') {
            const size_t close = pattern.find('!', end + 1);
            if (close != std::string::npos) end = close + 1;
        }
        if (number >= 1 && number <= arguments.size()) text += arguments[number - 1];
        i = end - 1;
    }
    return text;
}
