#include "disk_search.h"
#include <cstring>
#include <new>

DirectorySearch::DirectorySearch(FileSystem& files, const std::string& directory, const std::string& target)
    : m_files(files), m_strTarget(target), m_strDirectory(directory), m_findData() {}

DirectorySearch::~DirectorySearch() { DirectorySearch::Close(); }

void DirectorySearch::Close() {
    if (m_hFind != nullptr) {
        m_files.FindEnd(m_hFind);
        m_hFind = nullptr;
    }
    if (m_pChild) {
        m_pChild->Close();
        m_pChild.reset();
    }
    m_nPhase = 0;
}

int DirectorySearch::Step(std::string& statusText) {
    if (m_nPhase == 0) {
        if (m_hFind == nullptr) {
            statusText = m_strDirectory;
            HANDLE find = m_files.FindFirst((m_strDirectory + "\\" + m_strTarget).c_str(), &m_findData);
            if (find == INVALID_HANDLE_VALUE) {
                m_nPhase = 1;
                return SEARCH_PROGRESS;
            }
            m_hFind = find;
            return (m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? SEARCH_PROGRESS : SEARCH_FOUND;
        }
        // A name without wildcards matches once; the next call only ends the lookup.
        m_files.FindNext(m_hFind, &m_findData);
        m_files.FindEnd(m_hFind);
        m_hFind = nullptr;
        m_nPhase = 1;
        return SEARCH_CONTINUE;
    }

    if (m_pChild) {
        const int result = m_pChild->Step(statusText);
        if (result != SEARCH_EXHAUSTED) return result;
        m_pChild.reset();
        return SEARCH_CONTINUE;
    }
    if (m_hFind == nullptr) {
        HANDLE find = m_files.FindFirst((m_strDirectory + "\\*").c_str(), &m_findData);
        if (find == INVALID_HANDLE_VALUE) {
            m_nPhase = 0;
            return SEARCH_EXHAUSTED;
        }
        m_hFind = find;
        return Examine();
    }
    if (!m_files.FindNext(m_hFind, &m_findData)) {
        m_files.FindEnd(m_hFind);
        m_hFind = nullptr;
        m_nPhase = 0;
        return SEARCH_EXHAUSTED;
    }
    return Examine();
}

// The entry the enumeration returned last: a subdirectory gets a searcher of its
// own, which does its first step at the next call.
int DirectorySearch::Examine() {
    if ((m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return SEARCH_CONTINUE;
    // A link (a symbolic link or junction, which Wine makes of every host link)
    // is passed over: links back to a parent would make the walk endless. The
    // directory it leads to is still walked where it really lies.
    if ((m_findData.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return SEARCH_CONTINUE;
    // The name is taken only up to the record's end, whatever the platform left in it.
    const char* name = m_findData.cFileName;
    const void* end = std::memchr(name, 0, sizeof(m_findData.cFileName));
    const std::string entry(name, end == nullptr ? sizeof(m_findData.cFileName) : static_cast<const char*>(end) - name);
    if (entry == "." || entry == "..") return SEARCH_CONTINUE;
    m_pChild.reset(new (std::nothrow) DirectorySearch(m_files, m_strDirectory + "\\" + entry, m_strTarget));
    return SEARCH_CONTINUE;
}

DiskSearch::DiskSearch(FileSystem& files, const std::string& target) : DirectorySearch(files, std::string(), target) {}

DiskSearch::~DiskSearch() { DiskSearch::Close(); }

void DiskSearch::Close() {
    m_nDrive = 0;
    DirectorySearch::Close();
}

int DiskSearch::Step(std::string& statusText) {
    if (m_pChild) {
        const int result = m_pChild->Step(statusText);
        if (result != SEARCH_EXHAUSTED) return result;
        m_pChild.reset();
        return SEARCH_CONTINUE;
    }
    std::string root;
    for (;;) {
        ++m_nDrive;
        if (m_nDrive >= 27) break;
        root = std::string(1, static_cast<char>('A' + m_nDrive - 1)) + ":\\";
        if (m_files.DriveType(root.c_str()) == DRIVE_FIXED) break;
    }
    if (m_nDrive > 26) {
        m_nDrive = 27;  // stays past Z: for ever
        return SEARCH_EXHAUSTED;
    }
    statusText = root;
    m_strDirectory = root.substr(0, 2);
    m_pChild.reset(new (std::nothrow) DirectorySearch(m_files, m_strDirectory, m_strTarget));
    return SEARCH_CONTINUE;
}
