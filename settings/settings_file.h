// The text model of the game's INI-style settings files. A file is held whole,
// as the bytes it has on disk; every lookup searches that raw text and every
// edit replaces one span of it, so all other bytes survive unchanged: order,
// blank lines, spacing, comments, lines the model does not understand, LF-only
// line ends and NUL bytes.
//
// Format, as the model reads it: a section header is a "[" right after CR LF,
// followed by the section's name (a prefix of the name in the header matches);
// the section runs to the CR LF before the next such header. An entry is a line
// of optional blanks, the key, optional blanks, "=" and the value. A line ends at
// CR LF, or at a lone LF (a file touched by another editor); a lone CR inside a
// value ends the value when it is read but is replaced when it is written.
#pragma once
#include <string>
#include <string_view>

struct SettingEdit;

// The largest settings file the launchers read. The game's files are a few KiB;
// a larger one is damaged, and a 32-bit program could not hold it beside its
// edited text and the copy that a failed save puts back.
const size_t MAX_SETTINGS_SIZE = 64 * 1024 * 1024;

// The whole text of one settings file, as the bytes it has on disk. It remembers
// where it last found a section, so that a run of lookups and edits in one
// section (a long movie list) does not search the whole text each time; every
// change goes through it, and an edit that could move or make a section header
// makes it forget.
class SettingsFile {
public:
    SettingsFile() = default;
    explicit SettingsFile(std::string text) : m_text(std::move(text)) {}

    const std::string& Text() const { return m_text; }
    size_t size() const { return m_text.size(); }
    void Clear() { m_text.clear(), m_known = false; }
    void Append(const char* bytes, size_t count) { m_text.append(bytes, count), m_known = false; }

    // FindSection on the text, answered from memory when it is the last section found.
    std::string_view Section(std::string_view name, long& position) const;
    void Apply(const SettingEdit& edit);

private:
    std::string m_text;
    mutable bool m_known = false;
    mutable std::string m_knownName;
    mutable size_t m_knownStart = 0;
    mutable size_t m_knownLength = 0;
};

// The section's text (a view into text), with position set to the index of its
// "[" in text, or to -1 and an empty view when there is no such section.
std::string_view FindSection(std::string_view text, std::string_view section, long& position);

// Where the key's entry is in searched: n > 0 is the index just after its "=";
// 0 means not found; -n means that the occurrence examined is rejected and the
// search goes on at the first CR LF at or after index n.
long FindKey(std::string_view searched, std::string_view key);

// The trimmed value of the key in the section; empty when either is missing.
std::string GetSettingValue(std::string_view text, std::string_view section, std::string_view key);
std::string GetSettingValue(const SettingsFile& text, std::string_view section, std::string_view key);

// One edit of the text: the bytes at [position, position + removed) give way to
// inserted, which replaces an entry's value, inserts an entry at the end of its
// section, or appends a section with the entry at the end of the text.
struct SettingEdit {
    enum Kind { REPLACE, INSERT, APPEND };
    Kind kind;
    size_t position;
    size_t removed;
    std::string inserted;
};

// The edit that sets the key's value: it replaces the value of the entry, or
// inserts a missing entry at the end of its section, or appends a missing
// section with the entry at the end of the text.
SettingEdit PlanSettingValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// Applies that edit; always TRUE.
int SetSettingValue(SettingsFile& text, std::string_view section, std::string_view key, std::string_view value);

// "movies[n]": the key of entry n of a movie list.
std::string MovieKey(unsigned int index);
