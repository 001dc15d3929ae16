#include "platform/Profile.h"

#include <sys/stat.h>

#include <cstring>
#include <unordered_map>

#include "platform/CodePage.h"
#include "platform/FileUtil.h"

namespace vesk::profile {

namespace {

enum class Eol : uint8_t { None, CrLf, Lf, Cr };
enum class Kind : uint8_t { Other, Section, Key };

// Indexed by Eol.
constexpr std::string_view kEolText[] = {"", "\r\n", "\n", "\r"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// Case folding for lookups: ASCII always, plus the letter blocks where upper and lower case
// sit at a fixed distance (Latin-1, Latin Extended-A, Greek, Cyrillic, fullwidth Latin).
char16_t FoldUnit(char16_t u) {
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return u + 0x20;
  if (((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177)) && (u % 2 == 0)) return u + 1;
  if (((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) && (u % 2 == 1)) return u + 1;
  if (u == 0x178) return 0xFF;
  if (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) return u + 0x20;
  if (u >= 0x410 && u <= 0x42F) return u + 0x20;
  if (u >= 0x400 && u <= 0x40F) return u + 0x50;
  if (u >= 0xFF21 && u <= 0xFF3A) return u + 0x20;
  return u;
}

std::string Fold(std::string_view s) {
  std::string out(s);
  bool ascii = true;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80)
      ascii = false;
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  if (ascii || !codepage::IsValidUtf8(out)) return out;
  std::u16string wide = codepage::Utf8ToUtf16(out);
  for (char16_t& u : wide) u = FoldUnit(u);
  return codepage::Utf16ToUtf8(wide);
}

struct Line {
  std::string text;  // the line as in the file (UTF-8), without its ending
  Eol eol = Eol::None;
  Kind kind = Kind::Other;
  // Section name or key, and value (trimmed and unquoted), as parts of text: one allocation
  // per line keeps a 10 MB file quick to read.
  size_t nameAt = 0, nameLen = 0, valueAt = 0, valueLen = 0;

  std::string_view name() const { return std::string_view(text).substr(nameAt, nameLen); }
  std::string_view value() const { return std::string_view(text).substr(valueAt, valueLen); }
};

Line ParseLine(std::string_view text, Eol eol) {
  Line line;
  line.text.assign(text);
  line.eol = eol;
  std::string_view all(line.text);
  auto offset = [&](std::string_view part) {
    return static_cast<size_t>(part.data() - all.data());
  };
  std::string_view t = Trim(all);
  if (t.empty() || t.front() == ';') return line;
  std::string_view name, value;
  if (t.front() == '[') {
    std::string_view inner = t.substr(1);
    size_t close = inner.rfind(']');
    if (close != std::string_view::npos) inner = inner.substr(0, close);
    line.kind = Kind::Section;
    name = Trim(inner);
  } else {
    line.kind = Kind::Key;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
      name = t;
    } else {
      name = Trim(t.substr(0, eq));
      value = Unquote(Trim(t.substr(eq + 1)));
    }
  }
  line.nameAt = name.empty() ? 0 : offset(name);
  line.nameLen = name.size();
  line.valueAt = value.empty() ? 0 : offset(value);
  line.valueLen = value.size();
  return line;
}

// A value that would lose blanks or quotes to the reading rules is written inside one extra
// pair of quotes, which reading removes again. Line breaks cannot live inside a line.
std::string EncodeValue(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  bool needsQuotes =
      !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) || Unquote(v).size() != v.size());
  return needsQuotes ? "\"" + v + "\"" : v;
}

// Names that the file format cannot hold: they would read back as other keys or sections.
bool WritableNames(std::string_view section, std::string_view key) {
  if (section.empty() || key.empty()) return false;
  if (section.find_first_of("]\r\n") != std::string_view::npos) return false;
  if (key.find_first_of("=\r\n") != std::string_view::npos) return false;
  return key.front() != '[' && key.front() != ';';
}

struct Section {
  Line header;  // Kind::Other for the lines before the first section
  std::vector<Line> body;
  // Folded key -> index into body of its first occurrence; built on first lookup.
  mutable bool indexed = false;
  mutable std::unordered_map<std::string, size_t> keys;

  void BuildIndex() const {
    if (indexed) return;
    keys.clear();
    for (size_t i = 0; i < body.size(); ++i)
      if (body[i].kind == Kind::Key && !body[i].name().empty())
        keys.emplace(Fold(body[i].name()), i);
    indexed = true;
  }
  const Line* Find(std::string_view key, size_t* at = nullptr) const {
    BuildIndex();
    auto it = keys.find(Fold(key));
    if (it == keys.end()) return nullptr;
    if (at) *at = it->second;
    return &body[it->second];
  }
};

}  // namespace

struct ProfileDocument::Impl {
  Encoding encoding = Encoding::Utf8;
  bool text = true;
  Eol defaultEol = Eol::CrLf;
  // blocks[0] holds the lines before the first section header; every later block is one
  // section as it appears in the file, duplicates included.
  std::vector<Section> blocks{Section{}};
  mutable bool indexed = false;
  mutable std::unordered_map<std::string, size_t> sections;  // folded name -> first block
  mutable std::vector<size_t> order;                         // first blocks in file order

  void BuildIndex() const {
    if (indexed) return;
    sections.clear();
    order.clear();
    for (size_t i = 1; i < blocks.size(); ++i) {
      std::string_view name = blocks[i].header.name();
      if (name.empty()) continue;
      if (sections.emplace(Fold(name), i).second) order.push_back(i);
    }
    indexed = true;
  }
  const Section* Find(std::string_view name) const {
    BuildIndex();
    auto it = sections.find(Fold(Trim(name)));
    return it == sections.end() ? nullptr : &blocks[it->second];
  }
  Section* Find(std::string_view name) {
    return const_cast<Section*>(static_cast<const Impl*>(this)->Find(name));
  }

  // The line before an appended line needs an ending of its own.
  void EndLastLine() {
    for (size_t b = blocks.size(); b-- > 0;) {
      Section& s = blocks[b];
      Line* last = !s.body.empty() ? &s.body.back() : (b > 0 ? &s.header : nullptr);
      if (last) {
        if (last->eol == Eol::None) last->eol = defaultEol;
        return;
      }
    }
  }

  void AddLine(std::string_view text) {
    Line line = ParseLine(text, Eol::None);
    if (line.kind == Kind::Section) {
      Section s;
      s.header = std::move(line);
      blocks.push_back(std::move(s));
    } else {
      blocks.back().body.push_back(std::move(line));
    }
  }
  void SetLastEol(Eol eol) {
    Section& s = blocks.back();
    (s.body.empty() ? s.header : s.body.back()).eol = eol;
  }
};

ProfileDocument::ProfileDocument() : impl_(std::make_unique<Impl>()) {}
ProfileDocument::~ProfileDocument() = default;
ProfileDocument::ProfileDocument(const ProfileDocument& o)
    : impl_(std::make_unique<Impl>(*o.impl_)) {}
ProfileDocument& ProfileDocument::operator=(const ProfileDocument& o) {
  if (this != &o) impl_ = std::make_unique<Impl>(*o.impl_);
  return *this;
}
ProfileDocument::ProfileDocument(ProfileDocument&& o) noexcept : impl_(std::move(o.impl_)) {}
ProfileDocument& ProfileDocument::operator=(ProfileDocument&& o) noexcept {
  impl_ = std::move(o.impl_);
  return *this;
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  ProfileDocument doc;
  Impl& d = *doc.impl_;
  std::string decoded;
  std::string_view text = bytes;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    d.encoding = Encoding::Utf16LeBom;
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      char16_t u = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
      if (u == 0) d.text = false;
      wide.push_back(u);
    }
    if (bytes.size() % 2 != 0) d.text = false;
    decoded = codepage::Utf16ToUtf8(wide);
    // Lone surrogates come back as U+FFFD: the round trip would not be faithful.
    if (d.text && codepage::Utf8ToUtf16(decoded) != wide) d.text = false;
    text = decoded;
  } else {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
      d.encoding = Encoding::Utf8Bom;
      text = bytes.substr(3);
    }
    if (std::memchr(text.data(), 0, text.size()) != nullptr || !codepage::IsValidUtf8(text))
      d.text = false;
  }

  bool eolSeen = false;
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    Eol eol = c == '\n' ? Eol::Lf : (i + 1 < n && text[i + 1] == '\n' ? Eol::CrLf : Eol::Cr);
    d.AddLine(text.substr(start, i - start));
    d.SetLastEol(eol);
    if (!eolSeen) d.defaultEol = eol, eolSeen = true;
    if (eol == Eol::CrLf) ++i;
    start = i + 1;
  }
  if (start < n) d.AddLine(text.substr(start));
  return doc;
}

std::optional<std::string> ProfileDocument::Get(std::string_view section,
                                                std::string_view key) const {
  const Section* s = impl_->Find(section);
  if (!s) return std::nullopt;
  const Line* line = s->Find(Trim(key));
  if (!line) return std::nullopt;
  return std::string(line->value());
}

std::vector<std::string> ProfileDocument::Sections() const {
  impl_->BuildIndex();
  std::vector<std::string> out;
  out.reserve(impl_->order.size());
  for (size_t b : impl_->order) out.emplace_back(impl_->blocks[b].header.name());
  return out;
}

std::vector<std::string> ProfileDocument::Keys(std::string_view section) const {
  std::vector<std::string> out;
  const Section* s = impl_->Find(section);
  if (!s) return out;
  s->BuildIndex();
  for (size_t i = 0; i < s->body.size(); ++i) {
    const Line& l = s->body[i];
    if (l.kind != Kind::Key || l.name().empty()) continue;
    auto it = s->keys.find(Fold(l.name()));
    if (it != s->keys.end() && it->second == i) out.emplace_back(l.name());
  }
  return out;
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  Impl& d = *impl_;
  std::string_view sec = Trim(section);
  std::string_view k = Trim(key);
  if (!WritableNames(sec, k)) return;
  std::string encoded = EncodeValue(value);
  Section* s = d.Find(sec);
  if (!s) {
    d.EndLastLine();
    Section fresh;
    fresh.header = ParseLine("[" + std::string(sec) + "]", d.defaultEol);
    d.blocks.push_back(std::move(fresh));
    s = &d.blocks.back();
    if (d.indexed && d.sections.emplace(Fold(sec), d.blocks.size() - 1).second)
      d.order.push_back(d.blocks.size() - 1);
  }
  size_t at = 0;
  if (s->Find(k, &at)) {
    Line& line = s->body[at];
    Line fresh = ParseLine(std::string(line.name()) + "=" + encoded, line.eol);
    line = std::move(fresh);
    return;
  }
  // After the last key of the section, so comments and blank lines that lead into the next
  // section stay with it.
  size_t pos = s->body.size();
  while (pos > 0 && s->body[pos - 1].kind != Kind::Key) --pos;
  // Only the very last line of the file can lack an ending.
  if (pos == s->body.size() && &d.blocks.back() == s) d.EndLastLine();
  Line fresh = ParseLine(std::string(k) + "=" + encoded, d.defaultEol);
  s->body.insert(s->body.begin() + static_cast<std::ptrdiff_t>(pos), std::move(fresh));
  // Only non-key lines moved, so the index stays valid apart from the new key.
  if (s->indexed) s->keys.emplace(Fold(k), pos);
}

bool ProfileDocument::RemoveSection(std::string_view section) {
  Impl& d = *impl_;
  const Section* s = d.Find(section);
  if (!s) return false;
  d.blocks.erase(d.blocks.begin() + (s - d.blocks.data()));
  d.indexed = false;
  return true;
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
  Section* s = impl_->Find(section);
  size_t at = 0;
  if (!s || !s->Find(Trim(key), &at)) return false;
  s->body.erase(s->body.begin() + static_cast<std::ptrdiff_t>(at));
  s->indexed = false;
  return true;
}

std::string ProfileDocument::Serialize() const {
  const Impl& d = *impl_;
  std::string out;
  size_t total = 0;
  for (const Section& s : d.blocks) {
    total += s.header.text.size() + 2;
    for (const Line& l : s.body) total += l.text.size() + 2;
  }
  out.reserve(total);
  auto put = [&](const Line& l) {
    out += l.text;
    out += kEolText[static_cast<size_t>(l.eol)];
  };
  for (size_t b = 0; b < d.blocks.size(); ++b) {
    if (b > 0) put(d.blocks[b].header);
    for (const Line& l : d.blocks[b].body) put(l);
  }
  switch (d.encoding) {
    case Encoding::Utf8:
      return out;
    case Encoding::Utf8Bom:
      return "\xEF\xBB\xBF" + out;
    case Encoding::Utf16LeBom: {
      std::u16string wide = codepage::Utf8ToUtf16(out);
      std::string bytes = "\xFF\xFE";
      bytes.reserve(2 + wide.size() * 2);
      for (char16_t u : wide) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
      }
      return bytes;
    }
  }
  return out;
}

Encoding ProfileDocument::encoding() const {
  return impl_->encoding;
}
void ProfileDocument::setEncoding(Encoding e) {
  impl_->encoding = e;
}
bool ProfileDocument::isText() const {
  return impl_->text;
}

int32_t ParseProfileInt(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  uint32_t result = 0;
  if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
    for (i += 2; i < value.size(); ++i) {
      char c = value[i];
      uint32_t digit;
      if (c >= '0' && c <= '9')
        digit = static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<uint32_t>(c - 'A' + 10);
      else
        break;
      result = result * 16 + digit;
    }
  } else {
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
      result = result * 10 + static_cast<uint32_t>(value[i] - '0');
  }
  if (negative) result = 0u - result;
  return static_cast<int32_t>(result);
}

namespace {

constexpr size_t kMaxFileBytes = size_t(256) << 20;

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

bool ProfileFile::Exists() const {
  return fsutil::FileExists(path_);
}

ProfileFile::Stamp ProfileFile::CurrentStamp() const {
  Stamp now;
  struct stat st {};
  if (::stat(path_.c_str(), &st) == 0) {
    now.exists = true;
    now.size = static_cast<uint64_t>(st.st_size);
    now.inode = static_cast<uint64_t>(st.st_ino);
    now.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  }
  return now;
}

// Re-reads the file when its stamp changed. While a batch holds unwritten changes the memory
// copy is the newer one and is kept.
bool ProfileFile::Refresh() {
  if (dirty_) return true;
  Stamp now = CurrentStamp();
  if (loaded_ && now == stamp_) return !readFailed_;
  stamp_ = now;
  loaded_ = true;
  readFailed_ = false;
  corruptSaved_ = false;
  if (!now.exists) {
    doc_ = ProfileDocument();
    return true;
  }
  std::string bytes;
  if (!fsutil::ReadFile(path_, bytes, nullptr, kMaxFileBytes)) {
    // Reads see an empty file, but writes must not replace what could not be read.
    doc_ = ProfileDocument();
    readFailed_ = true;
    return false;
  }
  doc_ = ProfileDocument::Parse(bytes);
  return true;
}

bool ProfileFile::SaveCorruptCopy() {
  if (corruptSaved_ || !stamp_.exists || doc_.isText()) return true;
  std::string copy = path_ + ".corrupt";
  // An earlier copy holds the file as it first went wrong; a later rewrite keeps the odd
  // bytes of the lines it did not touch, so copying again would only lose that first state.
  if (!fsutil::FileExists(copy)) {
    std::string bytes;
    if (!fsutil::ReadFile(path_, bytes, nullptr, kMaxFileBytes)) return false;
    if (!fsutil::WriteFileAtomic(copy, bytes)) return false;
  }
  corruptSaved_ = true;
  return true;
}

bool ProfileFile::WriteBytes(const std::string& bytes) {
  bool ok = fsutil::WriteFileAtomic(path_, bytes);
  if (!ok) {
    // Memory may hold the change that failed; read the file again next time.
    loaded_ = false;
    return false;
  }
  // Our own write must not look like an outside change, or the next read parses again.
  stamp_ = CurrentStamp();
  loaded_ = stamp_.exists;
  return true;
}

bool ProfileFile::Flush() {
  if (readFailed_ || !SaveCorruptCopy()) {
    loaded_ = false;
    return false;
  }
  return WriteBytes(doc_.Serialize());
}

std::optional<std::string> ProfileFile::Get(std::string_view section, std::string_view key) {
  Refresh();
  return doc_.Get(section, key);
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) {
  auto v = Get(section, key);
  return v ? *v : std::string(def);
}

int32_t ProfileFile::GetInt(std::string_view section, std::string_view key, int32_t def) {
  auto v = Get(section, key);
  if (!v || v->empty()) return def;
  return ParseProfileInt(*v);
}

std::vector<std::string> ProfileFile::Sections() {
  Refresh();
  return doc_.Sections();
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) {
  Refresh();
  return doc_.Keys(section);
}

bool ProfileFile::Change(const std::function<bool(ProfileDocument&)>& edit) {
  if (!Refresh()) return false;
  if (!edit(doc_)) return true;
  if (batchDepth_ > 0) {
    dirty_ = true;
    return true;
  }
  return Flush();
}

bool ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!WritableNames(Trim(section), Trim(key))) return false;
  // An unchanged value costs no write: start-up records the language name on every run, and
  // each atomic replacement costs two fsyncs.
  return Change([&](ProfileDocument& d) {
    const auto current = d.Get(section, key);
    if (current && *current == value) return false;
    d.Set(section, key, value);
    return true;
  });
}

bool ProfileFile::RemoveSection(std::string_view section) {
  return Change([&](ProfileDocument& d) { return d.RemoveSection(section); });
}

bool ProfileFile::RemoveKey(std::string_view section, std::string_view key) {
  return Change([&](ProfileDocument& d) { return d.RemoveKey(section, key); });
}

void ProfileFile::BeginBatch() {
  ++batchDepth_;
}

bool ProfileFile::CommitBatch() {
  if (batchDepth_ == 0) return true;
  if (--batchDepth_ > 0 || !dirty_) return true;
  dirty_ = false;
  return Flush();
}

bool ProfileFile::WriteDocument(const ProfileDocument& doc) {
  // The file about to be replaced may be one that is not text: keep its copy first.
  if (!Refresh() && fsutil::FileExists(path_)) return false;
  if (!SaveCorruptCopy()) return false;
  // Whether the new document is text says nothing about the file it replaces.
  corruptSaved_ = true;
  doc_ = doc;
  if (batchDepth_ > 0) {
    dirty_ = true;
    return true;
  }
  return WriteBytes(doc_.Serialize());
}

}  // namespace vesk::profile
