// Address text for the lookup dialog: the resolver's addresses as dotted
// decimal strings, and the list that carries them to the dialog. Portable
// C++ only, so it builds and is tested natively as well.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The addresses of one lookup, indexed from 1 to UBound(). It never holds
// fewer than one element; a single empty element means nothing was found.
class AddressList {
 public:
  AddressList() : items_(1) {}

  std::size_t LBound() const { return 1; }
  std::size_t UBound() const { return items_.size(); }

  // 1-based; an index outside LBound()..UBound() throws std::out_of_range.
  const std::string& operator[](std::size_t index) const { return items_.at(index - 1); }
  std::string& operator[](std::size_t index) { return items_.at(index - 1); }

  void ResetToOneEmpty();
  // Takes the elements in order; callers hand over at least one.
  void Assign(std::vector<std::string> items);

 private:
  std::vector<std::string> items_;
};

// The bytes in memory order, each as unsigned decimal, with "." between them.
std::string DottedAddress(const unsigned char* bytes, std::size_t count);

// Elements LBound() to UBound() joined by CR LF, none after the last.
std::string JoinLines(const AddressList& list);
