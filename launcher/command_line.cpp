#include "command_line.h"

std::string CommandTail(const char* commandLine) {
    if (commandLine == nullptr) return std::string();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p > ' ') ++p;
    }
    while (*p != '\0' && *p <= ' ') ++p;
    return std::string(reinterpret_cast<const char*>(p));
}

bool WantsSilentMode(const std::string& tail) {
    return tail.find("-u") != std::string::npos || tail.find("-U") != std::string::npos;
}
