#include "app/maskkinds.h"

#include "platform/files.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

bool ContainsAny(const std::string& text, std::initializer_list<const char*> parts) {
    for (const char* p : parts)
        if (text.find(p) != std::string::npos) return true;
    return false;
}

}  // namespace

bool IsMediaMask(const std::string& mask) {
    return ContainsAny(ToLowerCase(mask),
                       {".mp3", ".mp2", ".mp1", ".wav", ".mpg", ".mpe", ".wmv", ".avi", ".div", ".xvid", ".mp4"});
}

bool IsAudioMask(const std::string& mask) {
    return ContainsAny(ToLowerCase(mask), {".mp3", ".mp2", ".mp1", ".wav"});
}

bool MatchesMaskList(const std::string& name, const std::string& masks) {
    const std::string lowerName = ToLowerCase(name);
    StringList patterns;
    SplitByChar(masks, ';', patterns);
    if (patterns.empty()) patterns.push_back(masks);
    for (const std::string& raw : patterns) {
        const std::string pattern = ToLowerCase(raw);
        if (pattern.empty()) continue;
        // "*.*" lists every file, also one without a full stop.
        if (pattern == "*.*" || WildcardMatch(lowerName, pattern)) return true;
    }
    return false;
}

}  // namespace tandrel
