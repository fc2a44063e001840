#include "core/address_text.h"

#include <utility>

void AddressList::ResetToOneEmpty() {
  items_.assign(1, std::string());
}

void AddressList::Assign(std::vector<std::string> items) { items_ = std::move(items); }

std::string DottedAddress(const unsigned char* bytes, std::size_t count) {
  std::string text;
  text.reserve(count * 4);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += '.';
    text += std::to_string(bytes[i]);
  }
  return text;
}

std::string JoinLines(const AddressList& list) {
  constexpr char kLineBreak[] = "\r\n";
  std::size_t size = 0;
  for (std::size_t i = list.LBound(); i <= list.UBound(); ++i) size += list[i].size() + 2;
  std::string text;
  text.reserve(size);
  for (std::size_t i = list.LBound(); i <= list.UBound(); ++i) {
    text += list[i];
    if (i < list.UBound()) text += kLineBreak;
  }
  return text;
}
