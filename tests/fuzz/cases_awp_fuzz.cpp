// Case-file loader against arbitrary bytes: every input gives a result code, and whatever
// loads writes back into a file that loads to the same record; the same for the edit history.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cases/AwpFormat.h"
#include "cases/EditHistory.h"
#include "cases/Filemanage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vesk;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  _SUB_VERSION version;
  // Only that it answers at all: any code is a fair answer to arbitrary bytes.
  [[maybe_unused]] const CaseFileResult versionResult = awp::ParseVersion(bytes, version);
  for (bool withSamples : {false, true}) {
    _FILE_ALL_INFO info;
    int32_t seen = 0;
    if (awp::Parse(bytes, withSamples, 0, info, &seen) != CaseFileResult::Ok) continue;
    _FILE_ALL_INFO again;
    if (awp::Parse(awp::Serialize(info, seen), withSamples, seen, again) != CaseFileResult::Ok ||
        !(again == info))
      std::abort();
  }
  std::vector<EditEntry> history;
  if (ParseHistory(bytes, history) == CaseFileResult::Ok) {
    std::vector<EditEntry> again;
    if (ParseHistory("[END]\r\n" + SerializeHistory(history), again) != CaseFileResult::Ok ||
        !(again == history))
      std::abort();
  }
  return 0;
}
