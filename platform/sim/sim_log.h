// The simulated Windows' record of what a person would have seen and what the
// programs started, in order, so that a test can assert on sequences.
#pragma once
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>
#include "platform/win_types.h"

class SimLog {
public:
    void Add(std::string event) { m_events.push_back(std::move(event)); }
    const std::vector<std::string>& Events() const { return m_events; }
    // Index of the first event that starts with the prefix, or -1.
    int Find(const std::string& prefix) const {
        for (size_t i = 0; i < m_events.size(); ++i)
            if (m_events[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }
    int Count(const std::string& prefix) const {
        return static_cast<int>(std::count_if(m_events.begin(), m_events.end(),
                                              [&](const std::string& event) { return event.rfind(prefix, 0) == 0; }));
    }

private:
    std::vector<std::string> m_events;
};

// Thrown when something happens that the test's script did not expect: a window
// waiting for a user the script does not provide, an unexpected message box, a
// handle that names nothing open (closed twice, never opened), a call the
// simulation does not model.
struct SimUnexpected : std::exception {
    explicit SimUnexpected(std::string what) : m_what(std::move(what)) {}
    const char* what() const noexcept override { return m_what.c_str(); }
    std::string m_what;
};

// What an open handle names, from a map by handle.
template <class Map>
typename Map::mapped_type& Opened(Map& map, typename Map::key_type handle) {
    auto found = map.find(handle);
    if (found == map.end()) throw SimUnexpected("a call with a handle that names nothing open");
    return found->second;
}

// The forms in which the records of calls show flags and security attributes.
inline std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%lx", value);
    return text;
}

// "12,null,0": the structure's length, whether it has a descriptor, and its inheritance.
inline std::string Security(const SECURITY_ATTRIBUTES* security) {
    if (security == nullptr) return "none";
    return std::to_string(security->nLength) + (security->lpSecurityDescriptor != nullptr ? ",set," : ",null,") +
           std::to_string(security->bInheritHandle);
}
