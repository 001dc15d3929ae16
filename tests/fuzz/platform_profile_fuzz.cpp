// Feeds arbitrary bytes to the profile reader and exercises lookups, edits and the rewrite,
// checking the promises the rest of the program relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vesk::profile::ProfileDocument;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProfileDocument doc = ProfileDocument::Parse(bytes);

  // An untouched text document serialises to exactly what was read.
  if (doc.isText() && doc.Serialize() != bytes) std::abort();

  for (const std::string& section : doc.Sections()) {
    for (const std::string& key : doc.Keys(section)) {
      if (!doc.Get(section, key)) std::abort();
      vesk::profile::ParseProfileInt(*doc.Get(section, key));
    }
  }

  // Use the first bytes as names so edits reach sections that exist.
  std::string name(bytes.substr(0, std::min<size_t>(size, 8)));
  doc.Set(name, name, bytes.substr(0, std::min<size_t>(size, 32)));
  doc.Set("Fuzz", "Key", "  \"value\"  ");
  if (doc.Get("fuzz", "KEY") != std::optional<std::string>("  \"value\"  ")) std::abort();
  doc.RemoveKey(name, name);
  doc.RemoveSection(name);

  // What was written reads back the same after a second parse.
  ProfileDocument again = ProfileDocument::Parse(doc.Serialize());
  if (doc.isText() && again.Get("Fuzz", "Key") != doc.Get("Fuzz", "Key")) std::abort();
  return 0;
}
