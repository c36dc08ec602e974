// The incremental search of every fixed disk for a file. Each call of Step does
// one piece of work, with at most one directory call to the platform, and the
// search keeps all its state between calls, so that a window can drive it from a
// timer, show where it is, and pause and resume it at any point.
#pragma once
#include <memory>
#include <string>
#include "platform/files.h"

// Step results.
enum {
    SEARCH_EXHAUSTED = -1,  // nothing more to search
    SEARCH_CONTINUE = 0,    // a step was done; nothing to report
    SEARCH_FOUND = 1,       // a file of the target's name: statusText is its directory
    SEARCH_PROGRESS = 2,    // work began in a new directory: statusText is that directory
};

// Searches the tree below one directory, depth first: first the directory itself
// for the target, then its subdirectories one by one, each by a searcher of its
// own that this one owns. A running search is thus a chain of searchers from a
// drive's root down to the directory being worked on.
class DirectorySearch {
public:
    DirectorySearch(FileSystem& files, const std::string& directory, const std::string& target);
    virtual ~DirectorySearch();
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;

    virtual int Step(std::string& statusText);
    // Releases every lookup and searcher of the chain; the next step starts afresh.
    virtual void Close();

protected:
    FileSystem& m_files;
    int m_nPhase = 0;  // 0: looking for the target here; 1: walking the subdirectories
    std::string m_strTarget;
    std::string m_strDirectory;  // never with a trailing backslash: "C:", "C:\Games"
    WIN32_FIND_DATAA m_findData;
    HANDLE m_hFind = nullptr;  // the open lookup, null when none
    std::unique_ptr<DirectorySearch> m_pChild;

private:
    int Examine();
};

// Walks the fixed drives A: to Z: in letter order, with one DirectorySearch for
// the root of the current drive.
class DiskSearch : public DirectorySearch {
public:
    DiskSearch(FileSystem& files, const std::string& target);
    ~DiskSearch() override;

    int Step(std::string& statusText) override;
    // Also starts again at drive A.
    void Close() override;

private:
    int m_nDrive = 0;  // 0 before the first drive, 1 to 26 for A: to Z:, above 26 when done
};
