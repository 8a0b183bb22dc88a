// libFuzzer target for the settings reader, the one parser of a file the user writes
// by hand. Besides the sanitizers it checks that whatever the text makes of the
// defaults can be written back: settingsText of the result reads, over the defaults
// and without a single warning, as the very same settings. A refused line always says
// which line it was, and pause always keeps a way to resume. And the save keeps its
// word on any text: the defaults restored into it read back as the defaults.
#include "app/settings.h"
#include "app/settings_save.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Settings read = defaultSettings();
    std::vector<std::string> warnings;
    applySettingsText(read, text, "fuzz.ini", warnings);
    for (const std::string& warning : warnings) {
        if (warning.rfind("fuzz.ini:", 0) != 0) std::abort();
    }
    const int pause = bit(Action::pause);
    if (read.keys[pause].empty() && read.pad[pause].empty()) std::abort();

    Settings again = defaultSettings();
    std::vector<std::string> rereadWarnings;
    applySettingsText(again, settingsText(read), "written.ini", rereadWarnings);
    if (!rereadWarnings.empty() || !(again == read)) std::abort();

    Settings restored = defaultSettings();
    applySettingsText(restored, rewriteSettingsText(text, read, defaultSettings()), "restored.ini", warnings);
    if (!(restored == defaultSettings())) std::abort();
    return 0;
}
