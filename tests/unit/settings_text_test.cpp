// The settings text model: what a lookup finds and what an edit makes of the
// text, on the cases where the format's rules bite.
#include <gtest/gtest.h>
#include "launcher/format_message.h"
#include "settings/settings_file.h"

namespace {

// A text; the section and key looked up, the value found in the text as it is,
// the value written and the text after the write; and whether the written value
// cannot be read back.
struct Case {
    std::string text;
    const char *section, *key, *valueBefore, *newValue;
    std::string after;
    bool unreadable = false;
};

// A first line, so that the first header follows a CR LF.
const std::string H = "; options\r\n";
// A literal with the NUL bytes in it.
#define BYTES(literal) std::string(literal, sizeof(literal) - 1)

const Case kCases[] = {
    // Plain replacement.
    {H + "[s]\r\nk = 1\r\nn = 2\r\n", "s", "k", "1", "9", H + "[s]\r\nk = 9\r\nn = 2\r\n"},
    // Header at the very start is no section.
    {"[icGame]\r\nk = 1", "icGame", "k", "", "2", "[icGame]\r\nk = 1\r\n[icGame]\r\nk = 2"},
    // A section name is matched as a prefix.
    {H + "[shipX]\r\nk = 1\r\n[ship]\r\nk = 2", "ship", "k", "1", "3", H + "[shipX]\r\nk = 3\r\n[ship]\r\nk = 2"},
    // A longer name that begins with the key counts.
    {H + "[s]\r\nk[0]x = a\r\nk[0] = b", "s", "k[0]", "a", "c", H + "[s]\r\nk[0]x = c\r\nk[0] = b"},
    // Entry 1 is not entry 10.
    {H + "[s]\r\nk[10] = x\r\nk[1] = y", "s", "k[1]", "y", "z", H + "[s]\r\nk[10] = x\r\nk[1] = z"},
    // The key inside another line is skipped.
    {H + "[s]\r\nnote = see k\r\n; k = 3\r\nk = 5", "s", "k", "5", "6", H + "[s]\r\nnote = see k\r\n; k = 3\r\nk = 6"},
    // The name alone on its line is skipped.
    {H + "[s]\r\nk\r\nk other\r\nk = 5", "s", "k", "5", "6", H + "[s]\r\nk\r\nk other\r\nk = 6"},
    // The name alone at the end is no entry.
    {H + "[s]\r\nk", "s", "k", "", "6", H + "[s]\r\nk\r\nk = 6"},
    // The name and blanks at the end are no entry.
    {H + "[s]\r\nk  ", "s", "k", "", "6", H + "[s]\r\nk  \r\nk = 6"},
    // A name with a line end is looked up afresh.
    {H + "[a\r\n[b]\r\nk = 1\r\n", "a\r\n[b", "k", "", "v", H + "[a\r\nk = v\r\n[b]\r\nk = 1\r\n", true},
    // A key that begins its section's name is never found.
    {H + "[key]\r\nkey = 1", "key", "key", "", "2", H + "[key]\r\nkey = 1\r\nkey = 2", true},
    // Blanks around the key.
    {H + "[s]\r\n \tk \t= 1\r\n", "s", "k", "1", "2", H + "[s]\r\n \tk \t= 2\r\n"},
    // No blanks around the equals sign.
    {H + "[s]\r\nk=1\r\n", "s", "k", "1", "9", H + "[s]\r\nk= 9\r\n"},
    // A remark after the value goes.
    {H + "[s]\r\nk = 1 ; old\r\n", "s", "k", "1 ; old", "9", H + "[s]\r\nk = 9\r\n"},
    // An entry that ends at its equals sign.
    {H + "[s]\r\nk =\r\n", "s", "k", "", "9", H + "[s]\r\nk = 9\r\n"},
    // The empty value keeps one blank.
    {H + "[s]\r\nk = 1\r\n", "s", "k", "1", "", H + "[s]\r\nk = \r\n"},
    // An empty value inserted.
    {H + "[s]\r\nn = 1", "s", "k", "", "", H + "[s]\r\nn = 1\r\nk = "},
    // Inserted at the end of a section that is not the last.
    {H + "[a]\r\nx = 1\r\n[b]\r\ny = 2", "a", "k", "", "v", H + "[a]\r\nx = 1\r\nk = v\r\n[b]\r\ny = 2"},
    // Inserted into the last section after its final CR LF.
    {H + "[a]\r\nx = 1\r\n", "a", "k", "", "v", H + "[a]\r\nx = 1\r\n\r\nk = v"},
    // A section appended to the empty text.
    {"", "s", "k", "", "v", "\r\n[s]\r\nk = v"},
    // Read values are trimmed, inner blanks kept.
    {H + "[s]\r\nk =  \t a  b \t \r\n", "s", "k", "a  b", "c", H + "[s]\r\nk = c\r\n"},
    // A lone CR ends a value read, a write replaces it.
    {H + "[s]\r\nk = a\rb\r\nn = 1", "s", "k", "a", "v", H + "[s]\r\nk = v\r\nn = 1"},
    // LF-only lines hold no sections.
    {"[s]\nk = 1\n", "s", "k", "", "2", "[s]\nk = 1\n\r\n[s]\r\nk = 2"},
    // An empty name matches the first section.
    {H + "[a]\r\nk = 1\r\n", "", "k", "1", "2", H + "[a]\r\nk = 2\r\n"},
    // NUL bytes survive.
    {H + BYTES("[s]\r\nk = 1\r\nn = \0\0\r\n"), "s", "k", "1", "2", H + BYTES("[s]\r\nk = 2\r\nn = \0\0\r\n")},
    // A write stops at a lone LF: a lone LF ends an entry's line as CR LF does.
    {H + "[s]\r\nk = 1\nkk = 2\r\n", "s", "k", "1", "0.5", H + "[s]\r\nk = 0.5\nkk = 2\r\n"},
    // A name ends at a lone LF; the "[" written with the new entry makes its section be looked up afresh.
    {H + "[s]\r\nk[1]\nfoo = bar\r\n", "s", "k[1]", "", "x", H + "[s]\r\nk[1]\nfoo = bar\r\n\r\nk[1] = x"},
    // A value read ends at a lone LF.
    {H + "[s]\r\nk = a\nsecret = b\r\n", "s", "k", "a", "c", H + "[s]\r\nk = c\nsecret = b\r\n"},
};

TEST(SettingsText, ReadsAndWritesAsTheFormatSays) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        SettingsFile text(c.text);
        EXPECT_EQ(GetSettingValue(text, c.section, c.key), c.valueBefore);
        EXPECT_TRUE(SetSettingValue(text, c.section, c.key, c.newValue));
        EXPECT_EQ(text.Text(), c.after);
        EXPECT_EQ(GetSettingValue(text, c.section, c.key), c.unreadable ? "" : c.newValue);
    }
}

// The file remembers the last section it found, by name, until an edit writes
// what could be a header, or the text is emptied or refilled.
TEST(SettingsText, TheRememberedSectionGivesWayToAnotherNameAWrittenHeaderAndANewText) {
    SettingsFile text(H + "[a[0]]\r\nk = 1\r\n[b]\r\nk = 2\r\nm = 3\r\n");
    EXPECT_EQ(GetSettingValue(text, "b", "k"), "2");
    EXPECT_EQ(GetSettingValue(text, "", "k"), "1");
    EXPECT_EQ(GetSettingValue(text, "b", "k"), "2");
    // A name with a "[" of its own is never remembered: b stays, moved by the edit.
    SetSettingValue(text, "a[", "k", "1111");
    EXPECT_EQ(GetSettingValue(text, "b", "m"), "3");
    SetSettingValue(text, "b", "k", "2\r\n[c]");
    EXPECT_EQ(GetSettingValue(text, "b", "m"), "");
    EXPECT_EQ(GetSettingValue(text, "c", "m"), "3");
    text.Clear();
    EXPECT_EQ(GetSettingValue(text, "c", "m"), "");
    const std::string refill = "; a longer first line\r\n[c]\r\nm = 4\r\n";
    text.Append(refill.data(), refill.size());
    EXPECT_EQ(GetSettingValue(text, "c", "m"), "4");
}

// Messages name files and versions through the message formatter's markers.
TEST(MessageTexts, PutTheirArgumentsInPlaceOfTheMarkers) {
    // A pattern and its text with the arguments "flux.ini" and "14"; a lone "!" is text.
    const std::pair<const char*, const char*> cases[] = {
        {"Error opening the file %1.", "Error opening the file flux.ini."}, {"%3%9 is missing", " is missing"},
        {"Set Drifthaven to version %2!u! in the registry?", "Set Drifthaven to version 14 in the registry?"},
        {"100%% sure, %1 and %1", "100% sure, flux.ini and flux.ini"}, {"ends with %", "ends with %"},
        {"numbers of two digits at most: %10%19%123|", "numbers of two digits at most: 3|"},
        {"%a stays", "%a stays"}, {"%1 and %2!", "flux.ini and 14!"}, {"%2!! done", "14 done"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatMessageText(c.first, {"flux.ini", "14"}), c.second) << c.first;
    EXPECT_EQ(FormatMessageText("%12", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}), "12");
}

}  // namespace
