// The smaller simulated services: the shell, the sound output, the program's
// resources and the runtime library. Each records what it was asked to do.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>
#include "platform/resources.h"
#include "platform/runtime.h"
#include "platform/shell.h"
#include "platform/sim/sim_log.h"
#include "platform/sound.h"

// One ShellExecuteExA request, with its texts copied (empty for a null pointer).
struct ShellRequest {
    DWORD cbSize;
    UINT fMask;
    HWND hwnd;
    int nShow;
    HANDLE hIcon;
    bool verbNull, parametersNull, directoryNull;
    std::string file, parameters, directory;
};

class SimShell : public Shell {
public:
    explicit SimShell(SimLog& log) : m_log(log) {}
    BOOL Execute(SHELLEXECUTEINFOA* info) override;
    std::vector<ShellRequest> requests;

private:
    SimLog& m_log;
};

// String texts come from the program's string table; the WAVE resources are
// small stand-in images, one per number the test names.
class SimResources : public Resources {
public:
    explicit SimResources(const std::set<UINT>& waves);
    BOOL LoadText(UINT id, std::string& text) override;
    HRSRC FindRaw(UINT id, const char* type) override;
    HGLOBAL LoadRaw(HRSRC resource) override;
    const void* LockRaw(HGLOBAL loaded) override;
    // The number of the WAVE whose image lies at this address, or 0.
    UINT WaveAt(const void* image) const;
    // Calls that fail for a WAVE: "find 133", "load 133", "lock 133".
    std::set<std::string> refuse;

private:
    bool Refused(const char* call, UINT id) const;
    std::map<UINT, std::string> m_waves;
};

class SimSound : public Sound {
public:
    SimSound(SimLog& log, const SimResources& resources) : m_log(log), m_resources(resources) {}
    BOOL PlaySoundImage(const void* sound, UINT flags) override;
    // WAVEs that the sound service cannot play (a format it lacks, a busy device).
    std::set<UINT> refuse;

private:
    SimLog& m_log;
    const SimResources& m_resources;
};

class SimRuntime : public Runtime {
public:
    explicit SimRuntime(SimLog& log) : m_log(log) {}
    int Rand() override;
    void Srand(unsigned int seed) override;
    int64_t Time() override { return now; }
    // Code page 932's lead bytes; 1252 has none.
    BOOL IsLeadByte(BYTE b) override {
        return codePage == 932 && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
    }
    int64_t Counter() override { return counter; }
    int64_t CounterFrequency() override { return 1000; }
    int64_t now = 1700000000;
    // The monotonic clock, in milliseconds; it moves only when the test moves it.
    int64_t counter = 0;
    UINT codePage = 1252;
    // What rand returns, in order; 0 once they are used up.
    std::vector<int> draws;

private:
    size_t m_nextDraw = 0;
    SimLog& m_log;
};
