// Fuzz target: any bytes as a settings file, loaded and saved without a change, must come back
// as they were but for line ends, which are written as CR LF (without a legacy decoder, bytes
// that are not UTF-8 are kept as they are). UTF-16 files, whose text is rewritten, must at
// least keep their lines: a second load and save changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace {

// The bytes with every line end before the first Ctrl-Z (CR LF, LF or a lone CR) as CR LF.
std::string withCrLfLineEnds(std::string_view bytes) {
    std::string out;
    size_t i = 0;
    for (; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            out += "\r\n";
            i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 1 : 0;
        } else {
            out += bytes[i];
        }
    }
    return out.append(bytes.substr(i));
}

std::string savedAfterLoading(std::string_view bytes) {
    SettingsStore store("unused", '=');
    store.loadBytes(bytes);
    return store.fileBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string saved = savedAfterLoading(bytes);
    const bool utf16 = bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
    if (utf16 ? savedAfterLoading(saved) != saved : saved != withCrLfLineEnds(bytes)) {
        __builtin_trap();
    }
    return 0;
}
