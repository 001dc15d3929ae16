#pragma once
// The narrow "ANSI" code page used where the recorders, the hand-over files and older case
// files keep text as single- and double-byte characters (GBK unless configured otherwise).
// Conversions never split a multi-byte character: a cut always falls between characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::codepage {

// Chooses the narrow code page by its iconv name ("GBK" by default). False when iconv does
// not know it; the previous choice stays.
bool SetAnsiCodePage(std::string_view name);
std::string AnsiCodePage();

// UTF-8 to the narrow code page. A character the code page cannot hold becomes '?', and
// *lossy (when given) is set. Invalid UTF-8 bytes also become '?'.
std::string ToAnsi(std::string_view utf8, bool* lossy = nullptr);
// UTF-8 to the narrow code page for XML content: a character the code page cannot hold is
// written as a decimal character reference ("&#322;"), so nothing is lost; an invalid UTF-8
// byte becomes "&#65533;". *referenced (when given) tells whether any reference was written.
std::string ToAnsiXml(std::string_view utf8, bool* referenced = nullptr);
// The characters of utf8 the narrow code page cannot hold, each once, in order of first
// appearance (as UTF-8); at most `limit` of them.
std::string UnencodableCharacters(std::string_view utf8, size_t limit = 16);

// The narrow code page to UTF-8. Undecodable bytes become U+FFFD; a trailing lead byte
// without its second byte is dropped.
std::string FromAnsi(std::string_view narrow);

// Converts and cuts so that the narrow form takes at most maxBytes bytes, never splitting a
// character.
std::string ToAnsiLimited(std::string_view utf8, size_t maxBytes, bool* lossy = nullptr);

// The byte count the plan dialogs use to limit names: 1 for every character below 255,
// 2 for every other character.
size_t PlanByteCount(std::string_view utf8);

// UTF-8 <-> UTF-16LE helpers for the file formats that store wide text.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace vesk::codepage
