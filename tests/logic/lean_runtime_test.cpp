// Library errors as Quadsum.exe raises them: this program links the exe's
// lean runtime, and each error must still be an exception that catch (...)
// takes (MainForm::Text1_Change relies on it). Exit code 1 names the ones
// that were not; an error that ends the process fails the test as well.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "core/address_text.h"

int main() {
  const std::pair<const char*, void (*)()> errors[] = {
      {"index out of range", [] { (void)AddressList()[2]; }},
      {"string too long", [] { std::string().reserve(std::string().max_size() + 1); }},
      {"string from null", [] { (void)std::string(static_cast<const char*>(std::getenv("QUADSUM_UNSET_"))); }},
      {"allocation too large", [] { (void)std::allocator<long long>().allocate(SIZE_MAX / 8); }},
      {"array length too large", [] { (void)std::allocator<long long>().allocate(SIZE_MAX / 4); }},
  };
  int missed = 0;
  for (const auto& [name, raise] : errors) {
    try {
      raise();
      std::printf("FAIL: %s raised no exception\n", name);
      ++missed;
    } catch (...) {
    }
  }
  return missed == 0 ? 0 : 1;
}
