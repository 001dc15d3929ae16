#pragma once
// Building blocks of the case-file text: escaping of texts so that the profile reading rules
// (trimming, quotes, comments, the first '=') can never alter them, strict number parsing,
// and a line scanner that follows the profile rules without copying the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::awp {

// Texts: '%' followed by two hex digits stands for that byte. Escaped are '%', '=', ';',
// both quotes, every control byte (line breaks and tabs included), DEL, blanks at either end,
// and bytes that are not part of well-formed UTF-8, so any byte string survives.
// rawBytes: also escape every byte >= 0x80 (narrow code-page texts of the plan).
void AppendEscaped(std::string& out, std::string_view text, bool rawBytes = false);
std::string Escape(std::string_view text, bool rawBytes = false);
// False on a '%' without two hex digits after it.
bool Unescape(std::string_view in, std::string& out);

// Decimal integer: optional '-', 1 to 19 digits, nothing else; false when out of [lo, hi].
bool ParseInt(std::string_view s, int64_t lo, int64_t hi, int64_t& out);
bool ParseInt32(std::string_view s, int32_t& out);
// Comma-separated integers, exactly n of them.
bool ParseInt32List(std::string_view s, int32_t* out, size_t n);
void AppendInt(std::string& out, int64_t v);
void AppendIntList(std::string& out, const int32_t* v, size_t n);

// 16 hex digits of the IEEE-754 bits: every double, NaN payloads included, comes back exact.
void AppendDoubleBits(std::string& out, double v);
bool ParseDoubleBits(std::string_view s, double& out);

bool IsHexDigit(char c);
int HexValue(char c);  // -1 when not a hex digit

struct Entry {
  std::string_view key;
  std::string_view value;
};

struct Section {
  std::string_view name;
  size_t begin = 0;  // offset of the header line
  size_t end = 0;    // offset of the next header line, or the end of the scanned bytes
  std::vector<Entry> entries;
  // First entry of the key (ASCII letter case ignored); nullptr when absent.
  const Entry* Find(std::string_view key) const;
};

struct Scan {
  std::vector<Section> sections;
  bool stopped = false;  // the scan stopped at the section named in ScanProfile
  size_t stopOffset = 0;
  // First section of the name (ASCII letter case ignored); nullptr when absent.
  const Section* Find(std::string_view name) const;
};

// Splits the bytes into sections and key lines by the profile rules: blanks trimmed, lines
// starting with ';' ignored, "[name]" opens a section, "key=value" splits at the first '=',
// a value in one pair of matching quotes loses them, a line without '=' is a key with an empty
// value, lines before the first section are ignored, and so is a '[' line without ']' (a file
// cut inside a section header must not look whole). Stops before the header of the section
// named stopAt (when not empty).
Scan ScanProfile(std::string_view bytes, std::string_view stopAt = {});

bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vesk::awp
