#include <algorithm>
#include <functional>
#include "settings_file.h"

namespace {

const std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The first occurrence of needle in haystack. Section and key names are looked
// up again and again in long texts, so longer ones skip ahead as they can.
size_t Find(std::string_view haystack, std::string_view needle) {
    if (needle.size() < 4) return haystack.find(needle);
    const auto found = std::search(haystack.begin(), haystack.end(),
                                   std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    return found == haystack.end() ? std::string_view::npos : static_cast<size_t>(found - haystack.begin());
}

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
    const size_t found = Find(text, header);
    if (found == std::string_view::npos) return std::string_view();
    const size_t start = found + 2;
    std::string_view rest = text.substr(start);
    const size_t next = rest.find("\r\n[");
    position = static_cast<long>(start);
    return next == std::string_view::npos ? rest : rest.substr(0, next);
}

long FindKey(std::string_view searched, std::string_view key) {
    const size_t p = Find(searched, key);
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

namespace {

std::string ValueIn(std::string_view sectionText, std::string_view key) {
    const size_t start = LocateValue(sectionText, key);
    if (start == std::string_view::npos) return std::string();
    std::string_view value = sectionText.substr(start);
    value = value.substr(0, value.find_first_of("\r\n"));
    return std::string(Trim(value));
}

SettingEdit EditIn(std::string_view text, std::string_view sectionText, long position, std::string_view section,
                   std::string_view key, std::string_view value) {
    std::string entry(key);
    entry += " = ";
    entry.append(value.data(), value.size());
    if (position < 0) {
        std::string appended = "\r\n[";
        appended.append(section.data(), section.size());
        appended += "]\r\n" + entry;
        return SettingEdit{SettingEdit::APPEND, text.size(), 0, appended};
    }
    const size_t sectionStart = static_cast<size_t>(position);
    const size_t start = LocateValue(sectionText, key);
    if (start == std::string_view::npos)
        return SettingEdit{SettingEdit::INSERT, sectionStart + sectionText.size(), 0, std::string(kLineEnd) + entry};
    // The old value runs to the line's end: its CR LF, or a lone LF. A lone CR
    // before that is part of the value and goes with it.
    size_t end = sectionText.find('\n', start);
    if (end == std::string_view::npos)
        end = sectionText.size();
    else if (end > start && sectionText[end - 1] == '\r')
        --end;
    std::string replacement = " ";
    replacement.append(value.data(), value.size());
    return SettingEdit{SettingEdit::REPLACE, sectionStart + start, end - start, replacement};
}

}  // namespace

std::string GetSettingValue(std::string_view text, std::string_view section, std::string_view key) {
    long position = 0;
    const std::string_view sectionText = FindSection(text, section, position);
    return position < 0 ? std::string() : ValueIn(sectionText, key);
}

std::string GetSettingValue(const SettingsFile& text, std::string_view section, std::string_view key) {
    long position = 0;
    const std::string_view sectionText = text.Section(section, position);
    return position < 0 ? std::string() : ValueIn(sectionText, key);
}

SettingEdit PlanSettingValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    long position = 0;
    const std::string_view sectionText = FindSection(text, section, position);
    return EditIn(text, sectionText, position, section, key, value);
}

int SetSettingValue(SettingsFile& text, std::string_view section, std::string_view key, std::string_view value) {
    long position = 0;
    const std::string_view sectionText = text.Section(section, position);
    text.Apply(EditIn(text.Text(), sectionText, position, section, key, value));
    return 1;
}

std::string_view SettingsFile::Section(std::string_view name, long& position) const {
    const std::string_view text = m_text;
    if (m_known && name == m_knownName) {
        position = static_cast<long>(m_knownStart);
        return text.substr(m_knownStart, m_knownLength);
    }
    const std::string_view found = FindSection(text, name, position);
    // A name with a line end or a "[" of its own could have its header cut by
    // an edit elsewhere; such a section is always looked up afresh.
    if (position >= 0 && name.find_first_of("[\r\n") == std::string_view::npos) {
        m_known = true;
        m_knownName.assign(name.data(), name.size());
        m_knownStart = static_cast<size_t>(position);
        m_knownLength = found.size();
    }
    return found;
}

void SettingsFile::Apply(const SettingEdit& edit) {
    m_text.replace(edit.position, edit.removed, edit.inserted);
    if (!m_known || edit.kind == SettingEdit::APPEND) return;
    // Sections are found by "[" after CR LF and end at the next such header, and
    // an edit never removes a line end. So an edit can move the known section or
    // change its length, but only one that writes a "[" or a line end of its own
    // could make a header; then the section is looked up afresh.
    const size_t own = edit.kind == SettingEdit::INSERT ? kLineEnd.size() : 0;
    if (edit.inserted.find_first_of("[\r\n", own) != std::string::npos) {
        m_known = false;
        return;
    }
    const size_t grown = edit.inserted.size() - edit.removed;  // wraps when the text shrinks
    if (edit.position < m_knownStart)
        m_knownStart += grown;
    else if (edit.position <= m_knownStart + m_knownLength)
        m_knownLength += grown;
}

std::string MovieKey(unsigned int index) { return "movies[" + std::to_string(index) + "]"; }
