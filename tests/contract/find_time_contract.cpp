#include <gtest/gtest.h>
#include "platform_contract.h"

void CheckFindTimeContract(FileSystem& files, const std::string& dir,
                           const std::function<void(const std::string&, long long)>& setLastWrite) {
    const std::string path = dir + "\\corv2.dll";
    HANDLE file =
        files.OpenFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string block(0x1000, 'x');
    for (int i = 0; i < 0x17C; ++i) {
        DWORD written = 0;
        ASSERT_TRUE(files.Write(file, block.data(), static_cast<DWORD>(block.size()), &written));
    }
    files.CloseFile(file);
    setLastWrite(path, 1002054318);  // 2001-10-02 20:25:18 UTC

    WIN32_FIND_DATAA entry{};
    HANDLE find = files.FindFirst(path.c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    files.FindEnd(find);
    EXPECT_EQ(entry.ftLastWriteTime.dwHighDateTime, 0x01C14B80u);
    EXPECT_EQ(entry.ftLastWriteTime.dwLowDateTime, 0x59F1CB00u);
    EXPECT_EQ(entry.nFileSizeHigh, 0u);
    EXPECT_EQ(entry.nFileSizeLow, 1556480u);
}
