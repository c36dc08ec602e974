#include <gtest/gtest.h>
#include <set>
#include "platform_contract.h"

namespace {

void Create(FileSystem& files, const std::string& path, const std::string& content) {
    HANDLE file = files.OpenFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    EXPECT_TRUE(files.Write(file, content.data(), static_cast<DWORD>(content.size()), &written));
    EXPECT_EQ(written, content.size());
    files.CloseFile(file);
}

HANDLE OpenExisting(FileSystem& files, const std::string& path, DWORD access, DWORD share) {
    return files.OpenFile(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(FileSystem& files, HANDLE file, std::vector<DWORD>* counts = nullptr) {
    std::string content;
    char block[256];
    DWORD count = 0;
    while (files.Read(file, block, sizeof(block), &count) && count > 0) {
        content.append(block, count);
        if (counts != nullptr) counts->push_back(count);
    }
    return content;
}

std::string Content(FileSystem& files, const std::string& path) {
    HANDLE file = OpenExisting(files, path, GENERIC_READ, FILE_SHARE_READ);
    if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
    std::string content = ReadAll(files, file);
    files.CloseFile(file);
    return content;
}

// The names a lookup yields, and the attributes of the first.
std::set<std::string> Names(FileSystem& files, const std::string& pattern, DWORD* firstAttributes = nullptr) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data{};
    HANDLE find = files.FindFirst(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    if (firstAttributes != nullptr) *firstAttributes = data.dwFileAttributes;
    do names.insert(data.cFileName);
    while (files.FindNext(find, &data));
    EXPECT_TRUE(files.FindEnd(find));
    return names;
}

}  // namespace

void CheckFileContract(FileSystem& files, const std::string& dir,
                       const std::function<void(const std::string&)>& makeDirectory,
                       const std::function<void(const std::string&, long long)>& setLastWrite) {
    const std::string ini = dir + "\\a.ini";
    const std::string text = std::string(300, 'x') + "\r\n[icGame]\r\n" + std::string(1, '\0') +
                             std::string(287, 'y');  // 600 bytes, a NUL among them
    Create(files, ini, text);
    makeDirectory(dir + "\\sub");
    Create(files, dir + "\\sub\\b.txt", "b");

    SCOPED_TRACE("files");
    EXPECT_EQ(OpenExisting(files, dir + "\\missing.ini", GENERIC_READ, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenExisting(files, dir + "\\sub", GENERIC_READ | GENERIC_WRITE, 0), INVALID_HANDLE_VALUE);

    // Read whole in 256-byte blocks.
    HANDLE held = OpenExisting(files, ini, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<DWORD> counts;
    EXPECT_EQ(ReadAll(files, held, &counts), text);
    EXPECT_EQ(counts, (std::vector<DWORD>{256, 256, 88}));

    // Rewritten in place: seek to 0, one write, truncate.
    EXPECT_EQ(files.Seek(held, 0, nullptr, FILE_BEGIN), 0u);
    DWORD written = 0;
    EXPECT_TRUE(files.Write(held, "short\r\n", 7, &written));
    EXPECT_EQ(written, 7u);
    EXPECT_TRUE(files.Truncate(held));
    // Grown before anything is written: the new bytes read as zeros.
    EXPECT_EQ(files.Seek(held, 12, nullptr, FILE_BEGIN), 12u);
    EXPECT_TRUE(files.Truncate(held));
    EXPECT_TRUE(files.CloseFile(held));
    EXPECT_EQ(Content(files, ini), std::string("short\r\n") + std::string(5, '\0'));

    // A handle does only what it was opened for.
    HANDLE reader = OpenExisting(files, ini, GENERIC_READ, 0);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.Write(reader, "x", 1, &written));
    EXPECT_FALSE(files.Truncate(reader));
    files.CloseFile(reader);

    SCOPED_TRACE("lookups");
    DWORD attributes = 0;
    EXPECT_EQ(Names(files, ini, &attributes), (std::set<std::string>{"a.ini"}));
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(Names(files, dir + "\\A.INI"), (std::set<std::string>{"a.ini"}));
    EXPECT_EQ(Names(files, dir + "\\SUB", &attributes), (std::set<std::string>{"sub"}));
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(Names(files, dir + "\\*"), (std::set<std::string>{".", "..", "a.ini", "sub"}));
    EXPECT_EQ(Names(files, dir + "\\*.INI"), (std::set<std::string>{"a.ini"}));
    EXPECT_EQ(Names(files, dir + "\\?.ini"), (std::set<std::string>{"a.ini"}));
    EXPECT_EQ(Names(files, dir + "\\sub\\*"), (std::set<std::string>{".", "..", "b.txt"}));
    EXPECT_TRUE(Names(files, dir + "\\sub\\").empty());
    EXPECT_TRUE(Names(files, dir + "\\nothing\\*").empty());
    EXPECT_TRUE(Names(files, dir + "\\c*").empty());
    EXPECT_EQ(Names(files, dir + "\\\\sub\\\\b.txt"), (std::set<std::string>{"b.txt"}));
    EXPECT_TRUE(Names(files, dir + "\\" + std::string(300, 'n')).empty());

    SCOPED_TRACE("the time and size of a lookup's entry");
    const std::string path = dir + "\\corv2.dll";
    Create(files, path, std::string(1556480, 'x'));
    setLastWrite(path, 1002054318);  // 2001-10-02 20:25:18 UTC
    WIN32_FIND_DATAA entry{};
    HANDLE find = files.FindFirst(path.c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    files.FindEnd(find);
    EXPECT_EQ((std::vector<DWORD>{entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime,
                                  entry.nFileSizeHigh, entry.nFileSizeLow}),
              (std::vector<DWORD>{0x01C14B80u, 0x59F1CB00u, 0, 1556480u}));
}
