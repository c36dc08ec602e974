#include <gtest/gtest.h>
#include <vector>
#include "platform_contract.h"

namespace {

struct Query {
    LONG result;
    DWORD type;
    DWORD size;
    std::vector<BYTE> data;
};

// With a null buffer when bufferSize is negative.
Query Read(Registry& registry, HKEY key, const char* name, int bufferSize) {
    Query query{0, 0xFFFF, 0, {}};
    if (bufferSize < 0) {
        query.result = registry.QueryValue(key, name, nullptr, &query.type, nullptr, &query.size);
        return query;
    }
    query.data.assign(static_cast<size_t>(bufferSize) + 8, 0xCC);
    query.size = static_cast<DWORD>(bufferSize);
    query.result = registry.QueryValue(key, name, nullptr, &query.type, query.data.data(), &query.size);
    return query;
}

}  // namespace

void CheckRegistryContract(Registry& registry, const std::string& keyPath) {
    HKEY key = nullptr;
    EXPECT_EQ(registry.OpenKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    // Created with its missing parents; a second create opens it.
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    char noClass[] = "";
    DWORD disposition = 0;
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                                 KEY_SET_VALUE, &security, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    const BYTE text[] = "abc";
    const DWORD one = 1;
    const BYTE zeros[] = {'a', 0, 'b', 0};
    EXPECT_EQ(registry.SetValue(key, "Text", 0, REG_SZ, text, 4), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Bare", 0, REG_SZ, text, 3), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Empty", 0, REG_SZ, text, 0), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Zeros", 0, REG_BINARY, zeros, 4), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
    // A key opened to set values cannot be read through.
    DWORD type = 0, size = 0;
    EXPECT_EQ(registry.QueryValue(key, "Text", nullptr, &type, nullptr, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                                 KEY_WRITE, &security, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);

    ASSERT_EQ(registry.OpenKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(registry.SetValue(key, "Text", 0, REG_SZ, text, 4), ERROR_ACCESS_DENIED);
    struct Case {
        const char* name;
        int buffer;
        LONG result;
        DWORD type;
        DWORD size;
    } cases[] = {
        {"Text", -1, ERROR_SUCCESS, REG_SZ, 4},     {"Text", 2, ERROR_MORE_DATA, REG_SZ, 4},
        {"Text", 4, ERROR_SUCCESS, REG_SZ, 4},      {"Text", 64, ERROR_SUCCESS, REG_SZ, 4},
        // A text stored without its terminating zero is read with one added.
        {"text", -1, ERROR_SUCCESS, REG_SZ, 4},     {"Bare", -1, ERROR_SUCCESS, REG_SZ, 4},
        {"Bare", 3, ERROR_MORE_DATA, REG_SZ, 4},    {"Bare", 4, ERROR_SUCCESS, REG_SZ, 4},
        {"Empty", -1, ERROR_SUCCESS, REG_SZ, 0},
        {"Zeros", 64, ERROR_SUCCESS, REG_BINARY, 4}, {"Number", 2, ERROR_MORE_DATA, REG_DWORD, 4},
        {"Number", 4, ERROR_SUCCESS, REG_DWORD, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(c.buffer));
        Query query = Read(registry, key, c.name, c.buffer);
        EXPECT_EQ(query.result, c.result);
        EXPECT_EQ(query.type, c.type);
        EXPECT_EQ(query.size, c.size);
        if (c.result == ERROR_SUCCESS && c.buffer >= static_cast<int>(c.size) && c.size > 0) {
            EXPECT_EQ(query.data[0], c.type == REG_DWORD ? 1 : 'a');
            if (c.type == REG_SZ) {
                EXPECT_EQ(query.data[c.size - 1], 0);
            }
        }
    }
    EXPECT_EQ(Read(registry, key, "Missing", -1).result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);
}
