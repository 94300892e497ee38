// The messages that operations show, in English and Russian, and the
// questions built from a code and a text.
//
// Language index: 1 is Russian, every other value English. All texts are
// code-page-1251.
#pragma once

#include <string>

namespace tandrel {

enum class MessageId {
    EditFilePrefix,   // "Edit File: "
    DeleteQuestion,   // "Do You really want to delete this file(s)?"
    DeleteFailed,     // "Can't delete file "
    ChooseFile,       // "Please, choose file for searching!"
    FilePrefix,       // "File "
    AlreadyExists,    // " already exist."
    ReplaceQuestion,  // "Do You want to replace this file?"
    SearchFinished,   // "Searching is notorized."
    NotSaved,         // "File not Saved! Save File?"
    TagReadFailed,    // "Can not read tag from the file: "
    TagSaveFailed,    // "Can not save tag to the file: "
    FileMissing,      // "The file does not exist: "
    SearchFound,      // "Found: "
    SearchNotInSubdirectories,  // " (sub-directories not searched: "Recursive searching" is off in the settings)"
    SearchNowhere,    // "Nothing was searched: no directory to search in."
    SettingsUnreadable,  // "The settings cannot be read; the built-in settings are used: "
    SettingsNotSaved,    // "The settings were not saved: "
    TagCharsLost,     // "The tag cannot hold these characters, they become \"?\": "
    TagSaveAnyway,    // "Save the tag anyway?"
    TagNotSaved,      // "Tag not saved: "
    TagNoMediaFile,   // "Tag not saved: no file of a media file list is selected"
    TagShowsOtherFile,  // "Tag not saved: the tag panel does not show the tags of "
    TagFramesDropped,   // "An ID3v2.3 tag cannot hold these frames, they were left out: "
    SaveLosesCharacters,  // "Characters of these lines cannot be kept, saving writes them as ...: lines "
    SaveAnyway,           // "Save anyway?"
    Cancelled,            // " (cancelled by the user)", after the summary of what was done
    RenameStoppedByUser,  // "Stopped on request; files renamed before the stop: "
    RenameNotStarted,     // "Rename cancelled: no file was renamed."
};
inline constexpr int kMessageCount = 28;

const std::string& Message(int language, MessageId id);

// Question codes of ComposeMessage (and ConfirmDlg).
inline constexpr int kAskTo = 1;          // "Do You really want to " + text + "?"
inline constexpr int kAskToDo = 2;        // "Do You really want to do " + text + "?"
inline constexpr int kAskRenameAll = 3;   // "Do You really want to Rename All files?" (text ignored)
inline constexpr int kAskExit = 4;        // "Do You really want to Exit from Program " + text + "?"
inline constexpr int kTextAsIs = 10;      // the text itself
// Any other code gives "Unknown Error". The text is inserted verbatim, "&" included.
std::string ComposeMessage(int language, int code, const std::string& text);

}  // namespace tandrel
