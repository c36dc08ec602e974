// Whether a file or directory matches a path.
#pragma once
#include <string>
#include "platform/files.h"

// The path is a search pattern: wildcards match as in a directory listing, and a
// file and a directory count alike.
BOOL PathExists(FileSystem& files, const std::string& path);
