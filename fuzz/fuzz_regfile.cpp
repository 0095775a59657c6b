// libFuzzer target: the registry export file reader on arbitrary bytes. What
// it reads is written again and read back: the keys and values must come back
// equal, and the text written must be read whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/RegFileText.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "round trip broke: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<regfile::TKey> keys;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const regfile::TReadResult first = regfile::Parse(bytes, keys);
  const bool refused = first.problem == regfile::TProblem::UnknownHeader ||
                       first.problem == regfile::TProblem::Undecodable ||
                       first.problem == regfile::TProblem::TooLarge;
  Check(!refused || keys.empty(), "a refused file gave keys");
  const std::string text = regfile::Format(keys);
  std::vector<regfile::TKey> again;
  const regfile::TReadResult second = regfile::Parse(text, again);
  Check(second.problem == regfile::TProblem::None, "the text written is not read whole");
  Check(again == keys, "keys or values changed");
  Check(regfile::Format(again) == text, "the text written changed");
  return 0;
}
