#include "platform/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace vesk::codepage {

namespace {

std::mutex g_mutex;
std::string g_codePage = "GBK";

constexpr char32_t kBad = 0xFFFFFFFF;

// Decodes one strict UTF-8 character at i and advances i; an invalid byte gives kBad and
// advances by one, so a bad byte never swallows the text after it.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  if (c < 0x80) {
    ++i;
    return c;
  }
  size_t len;
  char32_t cp;
  char32_t min;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    ++i;
    return kBad;
  }
  if (i + len > s.size()) {
    ++i;
    return kBad;
  }
  for (size_t k = 1; k < len; ++k) {
    unsigned char t = b(i + k);
    if ((t & 0xC0) != 0x80) {
      ++i;
      return kBad;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kBad;
  }
  i += len;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

const char kReplacement[] = "\xEF\xBF\xBD";

// One conversion descriptor pair per thread, reopened when the code page setting changes;
// opening iconv for every short name would dominate the conversion itself.
struct Converters {
  std::string name;
  iconv_t toAnsi = reinterpret_cast<iconv_t>(-1);
  iconv_t fromAnsi = reinterpret_cast<iconv_t>(-1);
  ~Converters() { Close(); }
  void Close() {
    if (toAnsi != reinterpret_cast<iconv_t>(-1)) iconv_close(toAnsi);
    if (fromAnsi != reinterpret_cast<iconv_t>(-1)) iconv_close(fromAnsi);
    toAnsi = fromAnsi = reinterpret_cast<iconv_t>(-1);
  }
};

Converters& Current() {
  thread_local Converters conv;
  std::string name = AnsiCodePage();
  if (conv.name != name || conv.toAnsi == reinterpret_cast<iconv_t>(-1)) {
    conv.Close();
    conv.name = name;
    conv.toAnsi = iconv_open(name.c_str(), "UTF-8");
    conv.fromAnsi = iconv_open("UTF-8", name.c_str());
  }
  iconv(conv.toAnsi, nullptr, nullptr, nullptr, nullptr);
  iconv(conv.fromAnsi, nullptr, nullptr, nullptr, nullptr);
  return conv;
}

// Converts one whole UTF-8 character; false when the code page cannot hold it.
bool ConvertOne(iconv_t cd, std::string_view ch, std::string& out) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char buf[16];
  char* in = const_cast<char*>(ch.data());
  size_t inLeft = ch.size();
  char* o = buf;
  size_t oLeft = sizeof buf;
  size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
  if (r == static_cast<size_t>(-1) || inLeft != 0) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return false;
  }
  // glibc may count a character it replaced as "irreversible"; treat that as unencodable.
  if (r > 0) return false;
  size_t flushLeft = oLeft;
  iconv(cd, nullptr, nullptr, &o, &flushLeft);
  out.assign(buf, static_cast<size_t>(o - buf));
  return true;
}

std::string ConvertToAnsi(std::string_view utf8, size_t maxBytes, bool* lossy) {
  if (lossy) *lossy = false;
  Converters& conv = Current();
  std::string out;
  out.reserve(std::min(utf8.size(), maxBytes));
  std::string piece;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t start = i;
    char32_t cp = DecodeUtf8(utf8, i);
    if (cp < 0x80) {
      piece.assign(1, static_cast<char>(cp));
    } else if (cp == kBad || !ConvertOne(conv.toAnsi, utf8.substr(start, i - start), piece)) {
      piece.assign(1, '?');
      if (lossy) *lossy = true;
    }
    if (out.size() + piece.size() > maxBytes) break;
    out += piece;
  }
  return out;
}

}  // namespace

std::string ToAnsiXml(std::string_view utf8, bool* referenced) {
  if (referenced) *referenced = false;
  Converters& conv = Current();
  std::string out;
  out.reserve(utf8.size());
  std::string piece;
  size_t i = 0;
  while (i < utf8.size()) {
    const size_t start = i;
    const char32_t cp = DecodeUtf8(utf8, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp != kBad && ConvertOne(conv.toAnsi, utf8.substr(start, i - start), piece)) {
      out += piece;
    } else {
      out += "&#" + std::to_string(cp == kBad ? 0xFFFDu : uint32_t(cp)) + ";";
      if (referenced) *referenced = true;
    }
  }
  return out;
}

std::string UnencodableCharacters(std::string_view utf8, size_t limit) {
  Converters& conv = Current();
  std::string out;
  std::u32string seen;
  std::string piece;
  size_t i = 0;
  while (i < utf8.size() && seen.size() < limit) {
    const size_t start = i;
    const char32_t cp = DecodeUtf8(utf8, i);
    if (cp < 0x80) continue;
    if (cp != kBad && ConvertOne(conv.toAnsi, utf8.substr(start, i - start), piece)) continue;
    const char32_t shown = cp == kBad ? 0xFFFD : cp;
    if (seen.find(shown) != std::u32string::npos) continue;
    seen += shown;
    AppendUtf8(out, shown);
  }
  return out;
}

bool SetAnsiCodePage(std::string_view name) {
  std::string n(name);
  iconv_t cd = iconv_open(n.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  std::lock_guard lock(g_mutex);
  g_codePage = n;
  return true;
}

std::string AnsiCodePage() {
  std::lock_guard lock(g_mutex);
  return g_codePage;
}

std::string ToAnsi(std::string_view utf8, bool* lossy) {
  return ConvertToAnsi(utf8, std::string::npos, lossy);
}

std::string ToAnsiLimited(std::string_view utf8, size_t maxBytes, bool* lossy) {
  return ConvertToAnsi(utf8, maxBytes, lossy);
}

std::string FromAnsi(std::string_view narrow) {
  Converters& conv = Current();
  std::string out;
  out.reserve(narrow.size() * 3 / 2 + 4);
  if (conv.fromAnsi == reinterpret_cast<iconv_t>(-1)) {
    for (unsigned char c : narrow) {
      if (c < 0x80)
        out += static_cast<char>(c);
      else
        out += kReplacement;
    }
    return out;
  }
  char* in = const_cast<char*>(narrow.data());
  size_t inLeft = narrow.size();
  char buf[4096];
  while (inLeft > 0) {
    char* o = buf;
    size_t oLeft = sizeof buf;
    size_t r = iconv(conv.fromAnsi, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<size_t>(o - buf));
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    if (errno == EINVAL) break;  // a lead byte cut off at the end: dropped
    // EILSEQ: one undecodable byte; the next byte may start a good character again.
    out += kReplacement;
    ++in;
    --inLeft;
    iconv(conv.fromAnsi, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

size_t PlanByteCount(std::string_view utf8) {
  size_t count = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = DecodeUtf8(utf8, i);
    count += (cp != kBad && cp < 255) ? 1 : 2;
  }
  return count;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = DecodeUtf8(utf8, i);
    if (cp == kBad) cp = 0xFFFD;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3 / 2);
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // lone surrogate
    }
    AppendUtf8(out, cp);
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (DecodeUtf8(bytes, i) == kBad) return false;
  }
  return true;
}

}  // namespace vesk::codepage
