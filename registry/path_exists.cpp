#include "path_exists.h"

BOOL PathExists(FileSystem& files, const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = files.FindFirst(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return FALSE;
    files.FindEnd(find);
    return TRUE;
}
