// A libFuzzer target over the settings text model: random texts and runs of
// lookups and edits with random sections, keys and values. Nothing may crash (it
// runs under the sanitizers); a value read is one trimmed line; an edit changes
// nothing but the span it replaces or the text it inserts, never takes a line
// end with it and writes its written form; and a settings file that remembers
// its last section answers exactly as a fresh search of its text does.
#include <fuzzer/FuzzedDataProvider.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "settings/settings_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckEdit(const std::string& text, const std::string& section, const std::string& key, const std::string& value,
               const SettingEdit& edit) {
    Require(edit.position <= text.size() && edit.removed <= text.size() - edit.position);
    Require(text.substr(edit.position, edit.removed).find('\n') == std::string::npos);
    const std::string entry = key + " = " + value;
    switch (edit.kind) {
    case SettingEdit::REPLACE:
        Require(edit.inserted == " " + value && edit.position > 0 && text[edit.position - 1] == '=');
        Require(edit.position + edit.removed == text.size() || text[edit.position + edit.removed] == '\n' ||
                text.compare(edit.position + edit.removed, 2, "\r\n") == 0);
        break;
    case SettingEdit::INSERT:
        Require(edit.inserted == "\r\n" + entry && edit.removed == 0);
        Require(edit.position == text.size() || text.compare(edit.position, 3, "\r\n[") == 0);
        break;
    case SettingEdit::APPEND:
        Require(edit.inserted == "\r\n[" + section + "]\r\n" + entry && edit.removed == 0);
        Require(edit.position == text.size());
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    struct Step { std::string section, key, value; };
    std::vector<Step> steps(input.ConsumeIntegralInRange<size_t>(1, 6));
    for (size_t i = 0; i < steps.size(); ++i) {
        // Runs in one section are what the remembered section serves.
        const bool again = i > 0 && input.ConsumeBool();
        steps[i].section = again ? steps[i - 1].section : input.ConsumeRandomLengthString(16);
        steps[i].key = input.ConsumeRandomLengthString(16);
        steps[i].value = input.ConsumeRandomLengthString(16);
    }
    std::string plain = input.ConsumeRemainingBytesAsString();
    SettingsFile file(plain);

    const std::string space = " \t\n\v\f\r";
    for (const Step& step : steps) {
        const std::string read = GetSettingValue(plain, step.section, step.key);
        Require(GetSettingValue(file, step.section, step.key) == read);
        Require(read.find_first_of("\r\n") == std::string::npos);
        Require(read.empty() ||
                (space.find(read.front()) == std::string::npos && space.find(read.back()) == std::string::npos));

        const SettingEdit edit = PlanSettingValue(plain, step.section, step.key, step.value);
        CheckEdit(plain, step.section, step.key, step.value, edit);
        plain.replace(edit.position, edit.removed, edit.inserted);
        SetSettingValue(file, step.section, step.key, step.value);
        Require(file.Text() == plain);
    }
    return 0;
}
