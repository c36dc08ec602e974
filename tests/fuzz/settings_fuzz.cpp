// A libFuzzer target over the settings text model: random texts, sections, keys
// and values. Nothing may crash (it runs under the sanitizers), a value read is
// one trimmed line, and an edit changes nothing but the span it replaces or the
// text it inserts, never splits a line end and puts what it writes in its
// written form.
#include <fuzzer/FuzzedDataProvider.h>
#include <cstdlib>
#include <string>
#include "settings/settings_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(24);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string value = input.ConsumeRandomLengthString(24);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string read = GetSettingValue(text, section, key);
    Require(read.find_first_of("\r\n") == std::string::npos);
    const std::string space = " \t\n\v\f\r";
    Require(read.empty() || (space.find(read.front()) == std::string::npos && space.find(read.back()) == std::string::npos));

    const SettingEdit edit = PlanSettingValue(text, section, key, value);
    Require(edit.position <= text.size() && edit.removed <= text.size() - edit.position);
    const std::string removed = text.substr(edit.position, edit.removed);
    Require(removed.find('\n') == std::string::npos);
    const std::string entry = key + " = " + value;
    if (edit.inserted == " " + value && edit.position > 0 && text[edit.position - 1] == '=') {
        // A replacement: the old value up to its line's end.
        Require(edit.position + edit.removed == text.size() || text[edit.position + edit.removed] == '\n' ||
                text.compare(edit.position + edit.removed, 2, "\r\n") == 0 ||
                text.compare(edit.position + edit.removed, 3, "\r\n[") == 0);
    } else if (edit.inserted == "\r\n[" + section + "]\r\n" + entry) {
        Require(edit.removed == 0 && edit.position == text.size());
    } else {
        // An insertion at the end of its section.
        Require(edit.inserted == "\r\n" + entry && edit.removed == 0);
        Require(edit.position == text.size() || text.compare(edit.position, 3, "\r\n[") == 0);
    }

    SettingsFile edited = text;
    SetSettingValue(edited, section, key, value);
    Require(edited.compare(0, edit.position, text, 0, edit.position) == 0);
    Require(edited.compare(edit.position, edit.inserted.size(), edit.inserted) == 0);
    Require(edited.compare(edit.position + edit.inserted.size(), std::string::npos, text,
                           edit.position + edit.removed, std::string::npos) == 0);
    return 0;
}
