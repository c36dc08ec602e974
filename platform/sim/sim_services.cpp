#include "sim_services.h"
#include "resources/string_table.h"

BOOL SimShell::Execute(SHELLEXECUTEINFOA* info) {
    const auto text = [](const char* given) { return std::string(given == nullptr ? "" : given); };
    requests.push_back(ShellRequest{info->cbSize, info->fMask, info->hwnd, info->nShow, info->hIcon,
                                    info->lpVerb == nullptr, info->lpParameters == nullptr,
                                    info->lpDirectory == nullptr, text(info->lpFile), text(info->lpParameters),
                                    text(info->lpDirectory)});
    const ShellRequest& request = requests.back();
    m_log.Add("shell " + request.file + " in " + request.directory + " show " + std::to_string(request.nShow));
    return TRUE;
}

SimResources::SimResources(const std::set<UINT>& waves) {
    for (UINT id : waves) m_waves[id] = "RIFF\x10\0\0\0WAVEsim " + std::to_string(id);
}

BOOL SimResources::LoadText(UINT id, std::string& text) {
    const char* found = FindStringText(id);
    if (found == nullptr) return FALSE;
    text = found;
    return TRUE;
}

// A WAVE's handles are its number.
bool SimResources::Refused(const char* call, UINT id) const {
    return m_waves.count(id) == 0 || refuse.count(call + (" " + std::to_string(id))) != 0;
}

HRSRC SimResources::FindRaw(UINT id, const char* type) {
    return std::string(type) != "WAVE" || Refused("find", id) ? nullptr : reinterpret_cast<HRSRC>(uintptr_t{id});
}

HGLOBAL SimResources::LoadRaw(HRSRC resource) {
    return Refused("load", static_cast<UINT>(reinterpret_cast<uintptr_t>(resource))) ? nullptr : resource;
}

const void* SimResources::LockRaw(HGLOBAL loaded) {
    const UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(loaded));
    return Refused("lock", id) ? nullptr : m_waves.at(id).data();
}

UINT SimResources::WaveAt(const void* image) const {
    for (const auto& wave : m_waves)
        if (wave.second.data() == image) return wave.first;
    return 0;
}

BOOL SimSound::PlaySoundImage(const void* sound, UINT flags) {
    if (sound == nullptr) {
        m_log.Add("sound stop " + std::to_string(flags));
        return TRUE;
    }
    const UINT id = m_resources.WaveAt(sound);
    const bool plays = refuse.count(id) == 0;
    m_log.Add("sound play " + std::to_string(id) + " flags " + std::to_string(flags) + (plays ? "" : " refused"));
    return plays ? TRUE : FALSE;
}

int SimRuntime::Rand() {
    const int draw = m_nextDraw < draws.size() ? draws[m_nextDraw++] : 0;
    m_log.Add("rand " + std::to_string(draw));
    return draw;
}

void SimRuntime::Srand(unsigned int seed) { m_log.Add("srand " + std::to_string(seed)); }
