#include "platform_contract.h"
#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

namespace {

using namespace std::string_literals;

HANDLE Open(FileSystem& files, const std::string& path, DWORD access) {
    return files.OpenFile(path.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// From where the handle stands, in 256-byte blocks as the settings are read: the
// end of the file is a read that succeeds with no bytes.
std::string ReadAll(FileSystem& files, HANDLE file) {
    std::string content;
    char block[256];
    DWORD count = 0;
    do {
        if (!files.Read(file, block, sizeof(block), &count)) return content + "<read failed>";
        content.append(block, count);
    } while (count > 0);
    return content;
}

// The names a lookup yields, a directory's with a backslash after it; entry gets the first.
std::set<std::string> Names(FileSystem& files, const std::string& pattern, WIN32_FIND_DATAA* entry = nullptr) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data{};
    HANDLE find = files.FindFirst(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    if (entry != nullptr) *entry = data;
    do names.insert(data.cFileName + std::string(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "\\" : ""));
    while (files.FindNext(find, &data));
    EXPECT_TRUE(files.FindEnd(find));
    return names;
}

// A key created as the programs create theirs: its disposition, 0 when the create fails.
DWORD Create(Registry& registry, const std::string& keyPath, REGSAM access, HKEY* key) {
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    char noClass[] = "";
    DWORD disposition = 0;
    const LONG result = registry.CreateKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                                           access, &security, key, &disposition);
    return result == ERROR_SUCCESS ? disposition : 0;
}

// A value queried with no buffer (bufferSize -1) or with one of that many bytes:
// the result, the type, the size and, when read, the bytes.
std::string Read(Registry& registry, HKEY key, const char* name, int bufferSize) {
    std::vector<BYTE> data(bufferSize < 0 ? 0 : bufferSize);
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = registry.QueryValue(key, name, nullptr, &type, bufferSize < 0 ? nullptr : data.data(), &size);
    std::string read = std::to_string(result) + " type " + std::to_string(type) + " size " + std::to_string(size);
    if (result == ERROR_SUCCESS && bufferSize >= 0) read.append(" ").append(data.begin(), data.begin() + size);
    return read;
}

}  // namespace

void CheckFileContract(FileSystem& files, const std::string& dir) {
    // Exact names in any case, as OK in the find-game window and the version detection look them up, and "*"
    // listings, as the disk search walks them. Then a doubled backslash, as after a typed path that ends in one,
    // and names that are not there, the last one overlong.
    const std::pair<std::string, std::set<std::string>> lookups[] = {
        {"corv2.dll", {"corv2.dll"}}, {"CORV2.DLL", {"corv2.dll"}}, {"SUB", {"sub\\"}},
        {"*", {".\\", "..\\", "corv2.dll", "sub\\"}},
        {"\\corv2.dll", {"corv2.dll"}}, {"missing.exe", {}}, {"missing\\corv2.dll", {}}, {std::string(300, 'n'), {}},
    };
    for (const auto& [name, found] : lookups) EXPECT_EQ(Names(files, dir + "\\" + name), found) << name;
    // The time and size of a lookup's entry, as the version detection compares them.
    const std::string path = dir + "\\corv2.dll";
    WIN32_FIND_DATAA entry{};
    Names(files, path, &entry);
    EXPECT_EQ((std::vector<DWORD>{entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime,
                                  entry.nFileSizeHigh, entry.nFileSizeLow}),
              (std::vector<DWORD>{0x01C14B80u, 0x59F1CB00u, 0, 1556480u}));

    // Opened as the settings are, read whole, then rewritten in place: seek to 0, one
    // write, truncate; then grown before anything is written, the new bytes reading as zeros.
    EXPECT_EQ(Open(files, dir + "\\missing.ini", GENERIC_READ), INVALID_HANDLE_VALUE);
    HANDLE held = Open(files, path, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadAll(files, held), std::string(1556480, 'x'));
    EXPECT_EQ(files.Seek(held, 0, nullptr, FILE_BEGIN), 0u);
    DWORD written = 0;
    EXPECT_TRUE(files.Write(held, "short\r\n", 7, &written));
    EXPECT_EQ(written, 7u);
    EXPECT_TRUE(files.Truncate(held));
    EXPECT_EQ(files.Seek(held, 12, nullptr, FILE_BEGIN), 12u);
    EXPECT_TRUE(files.Truncate(held));
    EXPECT_TRUE(files.CloseFile(held));

    // What is left, through a handle that does only what it was opened for.
    HANDLE reader = Open(files, path, GENERIC_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadAll(files, reader), "short\r\n\0\0\0\0\0"s);
    EXPECT_FALSE(files.Write(reader, "x", 1, &written));
    EXPECT_FALSE(files.Truncate(reader));
    EXPECT_TRUE(files.CloseFile(reader));
}

void CheckRegistryContract(Registry& registry, const std::string& keyPath) {
    HKEY key = nullptr;
    EXPECT_EQ(registry.OpenKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    // Created with its missing parents; a second create opens it.
    ASSERT_EQ(Create(registry, keyPath, KEY_SET_VALUE, &key), DWORD{REG_CREATED_NEW_KEY});
    const BYTE text[] = "abc", one[] = {1, 0, 0, 0};
    EXPECT_EQ(registry.SetValue(key, "Text", 0, REG_SZ, text, 4), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Bare", 0, REG_SZ, text, 3), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Number", 0, REG_DWORD, one, 4), ERROR_SUCCESS);
    // A key opened to set values cannot be read through.
    EXPECT_EQ(registry.QueryValue(key, "Text", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);
    ASSERT_EQ(Create(registry, keyPath, KEY_WRITE, &key), DWORD{REG_OPENED_EXISTING_KEY});
    EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);

    // Nor can one opened to read be written through.
    ASSERT_EQ(registry.OpenKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Text", 0, REG_SZ, text, 4), ERROR_ACCESS_DENIED);
    // A name, the size of the buffer it is read into, what is read.
    const std::tuple<const char*, int, std::string> cases[] = {
        {"Text", -1, "0 type 1 size 4"}, {"text", 4, "0 type 1 size 4 abc\0"s},  // a name in any case
        // A text stored without its terminating zero is read with one added.
        {"Bare", -1, "0 type 1 size 4"}, {"Bare", 3, "234 type 1 size 4"}, {"Bare", 4, "0 type 1 size 4 abc\0"s},
        {"Number", -1, "0 type 4 size 4"}, {"Number", 4, "0 type 4 size 4 \1\0\0\0"s},
    };
    for (const auto& [name, bufferSize, read] : cases) EXPECT_EQ(Read(registry, key, name, bufferSize), read) << name;
    EXPECT_EQ(registry.QueryValue(key, "Missing", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);
}
