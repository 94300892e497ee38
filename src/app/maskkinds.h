// What kind of files a file-list mask shows: media (audio or video) or audio.
#pragma once

#include <string>

namespace tandrel {

// The mask, lower-cased, names any of the audio and video extensions.
bool IsMediaMask(const std::string& mask);
// The mask, lower-cased, names an audio extension (.mp3, .mp2, .mp1, .wav).
bool IsAudioMask(const std::string& mask);

// Whether a file name matches any of the ";"-separated wildcard patterns of a
// file-list mask ("*" any run, "?" one character; without regard to case).
bool MatchesMaskList(const std::string& name, const std::string& masks);

}  // namespace tandrel
