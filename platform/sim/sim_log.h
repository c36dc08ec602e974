// The simulated Windows' record of what a person would have seen and what the
// programs started, in order, so that a test can assert on sequences.
#pragma once
#include <exception>
#include <string>
#include <vector>

class SimLog {
public:
    void Add(std::string event) { m_events.push_back(std::move(event)); }
    const std::vector<std::string>& Events() const { return m_events; }
    // Index of the first event that starts with the prefix, or -1.
    int Find(const std::string& prefix) const {
        for (size_t i = 0; i < m_events.size(); ++i)
            if (m_events[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
        return -1;
    }
    int Count(const std::string& prefix) const {
        int count = 0;
        for (const std::string& event : m_events)
            if (event.compare(0, prefix.size(), prefix) == 0) ++count;
        return count;
    }

private:
    std::vector<std::string> m_events;
};

// Thrown when something happens that the test's script did not expect: a window
// waiting for a user the script does not provide, an unexpected message box.
struct SimUnexpected : std::exception {
    explicit SimUnexpected(std::string what) : m_what(std::move(what)) {}
    const char* what() const noexcept override { return m_what.c_str(); }
    std::string m_what;
};
