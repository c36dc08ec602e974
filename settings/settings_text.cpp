#include "settings_file.h"

namespace {

const std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The index just after the key's "=" in the section text, or npos: FindKey
// again and again, resuming after each rejected occurrence's next CR LF.
size_t LocateValue(std::string_view section, std::string_view key) {
    size_t offset = 0;
    std::string_view rest = section;
    for (;;) {
        const long found = FindKey(rest, key);
        if (found > 0) return offset + static_cast<size_t>(found);
        if (found == 0) return std::string_view::npos;
        const size_t skipped = static_cast<size_t>(-found);
        offset += skipped;
        rest.remove_prefix(skipped);
        const size_t lineEnd = rest.find(kLineEnd);
        if (lineEnd == std::string_view::npos) return std::string_view::npos;
        offset += lineEnd;
        rest.remove_prefix(lineEnd);
    }
}

std::string_view Trim(std::string_view value) {
    const char* space = " \t\n\v\f\r";
    const size_t first = value.find_first_not_of(space);
    if (first == std::string_view::npos) return std::string_view();
    return value.substr(first, value.find_last_not_of(space) - first + 1);
}

}  // namespace

std::string_view FindSection(std::string_view text, std::string_view section, long& position) {
    position = -1;
    std::string header = "\r\n[";
    header.append(section.data(), section.size());
    const size_t found = text.find(header);
    if (found == std::string_view::npos) return std::string_view();
    const size_t start = found + 2;
    std::string_view rest = text.substr(start);
    const size_t next = rest.find("\r\n[");
    position = static_cast<long>(start);
    return next == std::string_view::npos ? rest : rest.substr(0, next);
}

long FindKey(std::string_view searched, std::string_view key) {
    const size_t p = searched.find(key);
    if (p == std::string_view::npos) return 0;
    size_t k = p;
    while (k != 0) {
        --k;
        if (!IsBlank(searched[k])) break;
    }
    if (k == 0) return 0;
    if (searched[k] != '\n') return -static_cast<long>(k);
    // The name runs from the key's first byte, so a longer name that begins
    // with the key counts as the key. A line end (CR, or a lone LF) before any
    // "=" means the line holds no entry.
    size_t e = p;
    const size_t length = searched.size();
    while (e < length && searched[e] != '\r' && searched[e] != '\n' && !IsBlank(searched[e]) && searched[e] != '=')
        ++e;
    if (e == length) return 0;
    if (searched[e] == '\r' || searched[e] == '\n') return -static_cast<long>(e);
    while (e < length && IsBlank(searched[e])) ++e;
    if (e == length) return 0;
    if (searched[e] == '=') return static_cast<long>(e + 1);
    return -static_cast<long>(e);
}

std::string GetSettingValue(std::string_view text, std::string_view section, std::string_view key) {
    long position = 0;
    const std::string_view sectionText = FindSection(text, section, position);
    if (position < 0) return std::string();
    const size_t start = LocateValue(sectionText, key);
    if (start == std::string_view::npos) return std::string();
    std::string_view value = sectionText.substr(start);
    value = value.substr(0, value.find_first_of("\r\n"));
    return std::string(Trim(value));
}

SettingEdit PlanSettingValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    long position = 0;
    const std::string_view sectionText = FindSection(text, section, position);
    std::string entry(key);
    entry += " = ";
    entry.append(value.data(), value.size());
    if (position < 0) {
        std::string appended = "\r\n[";
        appended.append(section.data(), section.size());
        appended += "]\r\n" + entry;
        return SettingEdit{text.size(), 0, appended};
    }
    const size_t sectionStart = static_cast<size_t>(position);
    const size_t start = LocateValue(sectionText, key);
    if (start == std::string_view::npos)
        return SettingEdit{sectionStart + sectionText.size(), 0, std::string(kLineEnd) + entry};
    // The old value runs to the line's end: its CR LF, or a lone LF. A lone CR
    // before that is part of the value and goes with it.
    size_t end = sectionText.find('\n', start);
    if (end == std::string_view::npos)
        end = sectionText.size();
    else if (end > start && sectionText[end - 1] == '\r')
        --end;
    std::string replacement = " ";
    replacement.append(value.data(), value.size());
    return SettingEdit{sectionStart + start, end - start, replacement};
}

int SetSettingValue(SettingsFile& text, std::string_view section, std::string_view key, std::string_view value) {
    const SettingEdit edit = PlanSettingValue(text, section, key, value);
    text.replace(edit.position, edit.removed, edit.inserted);
    return 1;
}

std::string MovieKey(unsigned int index) { return "movies[" + std::to_string(index) + "]"; }
