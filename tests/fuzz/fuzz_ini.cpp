// libFuzzer target for the INI reader and writers: the input is the whole
// file. Reading must not crash; a key set by either writer must read back as
// written, and the other keys of the section must stay.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_input_file.h"
#include "platform/ini.h"

using namespace tandrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::InputFolder folder("fuzz-ini");
    const std::string file = folder / "TdSettings.ini";
    fuzz::WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));

    IniSection before;
    if (!ReadIniSection(file, "Settings", before)) return 0;  // refused as too many entries
    (void)ReadIniString(file, "Settings", "FindMask");

    if (!WriteIniString(file, "Settings", "FindMask", "*.mp3;*.wav")) std::abort();
    if (ReadIniString(file, "Settings", "FindMask") != "*.mp3;*.wav") std::abort();

    // The section rewritten whole with what was read, plus one more key.
    IniPairs pairs;
    for (const auto& [key, value] : before.pairs())
        if (key.find_first_of("=\r\n") == std::string::npos && !key.empty() &&
            value.find_first_of("\r\n") == std::string::npos && value.find('"') == std::string::npos)
            pairs.emplace_back(key, value);
    pairs.emplace_back("FuzzKey", "value");
    if (!WriteIniSection(file, "Settings", pairs)) std::abort();
    IniSection after;
    if (!ReadIniSection(file, "Settings", after)) std::abort();
    for (const auto& [key, value] : pairs) {
        const std::string* read = after.Find(key);
        if (!read || (*read != value && before.Find(key) == nullptr)) std::abort();
    }
    return 0;
}
