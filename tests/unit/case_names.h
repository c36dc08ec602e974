// GoogleTest names for table cases, from the letters and digits of their descriptions.
#pragma once
#include <cctype>
#include <string>

template <typename Param>
std::string CaseName(const Param& param) {
    std::string name;
    for (char c : std::string(param.param.name))
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
}
