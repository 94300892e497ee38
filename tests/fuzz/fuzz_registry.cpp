// libFuzzer target for the settings registry file: the input is the whole
// file. Loading must not crash; values written into the settings key must
// read back after a save and a new load.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_input_file.h"
#include "platform/registry.h"

using namespace tandrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::InputFolder folder("fuzz-registry");
    const std::string file = folder / "registry.reg";
    fuzz::WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));

    RegistryStore store(file);
    if (!store.Load()) return 0;  // refused as too large
    if (store.OpenKey(kSettingsKey, false)) {
        (void)store.ReadString("HomeDir");
        (void)store.ReadInteger("LangIndex");
        (void)store.ReadBool("ID3Show");
    }
    if (!store.OpenKey(kSettingsKey, true)) std::abort();
    const std::string text = "C:\\M\xFAsic \"q\"\r\nx";  // backslash, quotes, a line break, a cp1251 letter
    store.WriteString("HomeDir", text);
    store.WriteInteger("LangIndex", -2);
    store.CloseKey();
    if (!store.Save()) std::abort();

    RegistryStore again(file);
    if (!again.Load() || !again.OpenKey(kSettingsKey, false)) std::abort();
    if (again.ReadString("HomeDir") != text || again.ReadInteger("LangIndex") != -2) std::abort();
    return 0;
}
