#include "cases/AwpText.h"

#include <charconv>
#include <cstring>

namespace vesk::awp {

namespace {

const char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned char b) {
  out.push_back('%');
  out.push_back(kHex[b >> 4]);
  out.push_back(kHex[b & 15]);
}

// Length of the well-formed UTF-8 sequence at p (2-4), or 0.
size_t Utf8SequenceLength(const unsigned char* p, size_t left) {
  const unsigned char c = p[0];
  size_t n;
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (left < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

bool IsHexDigit(char c) {
  return HexValue(c) >= 0;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendEscaped(std::string& out, std::string_view text, bool rawBytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  // Blanks at either end would be trimmed away by every profile reader.
  size_t lead = 0, trail = n;
  while (lead < n && p[lead] == ' ') ++lead;
  while (trail > lead && p[trail - 1] == ' ') --trail;
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c >= 0x80) {
      const size_t len = rawBytes ? 0 : Utf8SequenceLength(p + i, n - i);
      if (len == 0) {
        AppendHexByte(out, c);
        ++i;
      } else {
        out.append(text.data() + i, len);
        i += len;
      }
      continue;
    }
    const bool escape = c < 0x20 || c == 0x7F || c == '%' || c == '=' || c == ';' || c == '"' ||
                        c == '\'' || (c == ' ' && (i < lead || i >= trail));
    if (escape)
      AppendHexByte(out, c);
    else
      out.push_back(static_cast<char>(c));
    ++i;
  }
}

std::string Escape(std::string_view text, bool rawBytes) {
  std::string out;
  out.reserve(text.size() + 8);
  AppendEscaped(out, text, rawBytes);
  return out;
}

bool Unescape(std::string_view in, std::string& out) {
  out.clear();
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '%') {
      out.push_back(in[i]);
      continue;
    }
    if (i + 2 >= in.size()) return false;
    const int hi = HexValue(in[i + 1]), lo = HexValue(in[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return true;
}

bool ParseInt(std::string_view s, int64_t lo, int64_t hi, int64_t& out) {
  if (s.empty() || s.size() > 20) return false;
  const char* b = s.data();
  const char* e = s.data() + s.size();
  if (*b == '+') return false;
  int64_t v = 0;
  auto r = std::from_chars(b, e, v);
  if (r.ec != std::errc() || r.ptr != e) return false;
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

bool ParseInt32(std::string_view s, int32_t& out) {
  int64_t v;
  if (!ParseInt(s, INT32_MIN, INT32_MAX, v)) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool ParseInt32List(std::string_view s, int32_t* out, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const size_t comma = s.find(',');
    const bool last = i + 1 == n;
    if (last != (comma == std::string_view::npos)) return false;
    if (!ParseInt32(last ? s : s.substr(0, comma), out[i])) return false;
    if (!last) s.remove_prefix(comma + 1);
  }
  return true;
}

void AppendInt(std::string& out, int64_t v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendIntList(std::string& out, const int32_t* v, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (i) out.push_back(',');
    AppendInt(out, v[i]);
  }
}

void AppendDoubleBits(std::string& out, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int shift = 60; shift >= 0; shift -= 4) out.push_back(kHex[(bits >> shift) & 15]);
}

bool ParseDoubleBits(std::string_view s, double& out) {
  if (s.size() != 16) return false;
  uint64_t bits = 0;
  for (char c : s) {
    const int h = HexValue(c);
    if (h < 0) return false;
    bits = (bits << 4) | static_cast<uint64_t>(h);
  }
  std::memcpy(&out, &bits, sizeof out);
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

const Entry* Section::Find(std::string_view key) const {
  for (const Entry& e : entries)
    if (EqualsNoCase(e.key, key)) return &e;
  return nullptr;
}

const Section* Scan::Find(std::string_view name) const {
  for (const Section& s : sections)
    if (EqualsNoCase(s.name, name)) return &s;
  return nullptr;
}

Scan ScanProfile(std::string_view bytes, std::string_view stopAt) {
  Scan scan;
  size_t pos = 0;
  // A byte-order mark is not part of the first line.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  Section* current = nullptr;
  while (pos < bytes.size()) {
    const char* nl =
        static_cast<const char*>(std::memchr(bytes.data() + pos, '\n', bytes.size() - pos));
    const size_t lineEnd = nl ? static_cast<size_t>(nl - bytes.data()) : bytes.size();
    const size_t next = nl ? lineEnd + 1 : bytes.size();
    const std::string_view line = Trim(bytes.substr(pos, lineEnd - pos));
    const size_t close = line.empty() || line[0] != '[' ? std::string_view::npos : line.find(']');
    if (close != std::string_view::npos) {
      std::string_view name = Trim(line.substr(1, close - 1));
      if (!stopAt.empty() && EqualsNoCase(name, stopAt)) {
        scan.stopped = true;
        scan.stopOffset = pos;
        if (current) current->end = pos;
        return scan;
      }
      if (current) current->end = pos;
      scan.sections.push_back(Section{name, pos, bytes.size(), {}});
      current = &scan.sections.back();
    } else if (!line.empty() && line[0] != ';' && line[0] != '[' && current) {
      const size_t eq = line.find('=');
      Entry e;
      if (eq == std::string_view::npos) {
        e.key = line;
      } else {
        e.key = Trim(line.substr(0, eq));
        e.value = Trim(line.substr(eq + 1));
        if (e.value.size() >= 2 && (e.value[0] == '"' || e.value[0] == '\'') &&
            e.value.back() == e.value[0])
          e.value = e.value.substr(1, e.value.size() - 2);
      }
      current->entries.push_back(e);
    }
    pos = next;
  }
  if (current) current->end = bytes.size();
  return scan;
}

}  // namespace vesk::awp
