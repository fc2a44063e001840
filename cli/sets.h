#pragma once

// quadsum-cli's set modes: files of addresses, networks and ranges read
// into one set per family, combined, and written in one of four forms or
// counted.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/app.h"
#include "core/ip_set.h"
#include "core/ip_value.h"

namespace quadsum_cli {

enum class SetMode { Merge, Common, Except, Diff, Count };
enum class SetForm { Networks, Ranges, Integers, Expand };

struct SetCommand {
  SetMode mode = SetMode::Merge;
  SetForm form = SetForm::Networks;
  bool hex = false;                     // --to-int integers as 0x and hex digits
  bool ipv6 = false;                    // integer lines are IPv6 numbers
  std::vector<std::string_view> files;  // "-" is standard input; none reads it
};

// The files a mode needs at least, and a usage error for the command
// (too few files, "-" twice), or empty.
std::string_view SetUsageError(const SetCommand& command);

// Memory for a set's ranges: large blocks in huge pages where the system
// offers them, since the page faults of a million IPv6 ranges (32 MiB, and
// as much again to sort them) cost about as much as the sort.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* memory, std::size_t bytes);

template <class T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateLarge(n * sizeof(T))); }
  void deallocate(T* memory, std::size_t n) { FreeLarge(memory, n * sizeof(T)); }
  friend bool operator==(const LargeAllocator&, const LargeAllocator&) { return true; }
};

template <class T>
using LargeSet = quadsum::IpSet<T, LargeAllocator<quadsum::IpRange<T>>>;
using Ipv4Set = LargeSet<std::uint32_t>;
using Ipv6Set = LargeSet<quadsum::Uint128>;

struct IpSets {
  Ipv4Set v4;
  Ipv6Set v6;
};

// A line of a set file as read: its value without blanks around it, cut
// before a blank followed by '#' or ';'; empty for a blank line or one
// whose first byte after blanks is '#' or ';'. A CR before the line end is
// dropped. comment tells whether a comment ended the line.
struct SetLine {
  std::string_view value;
  bool comment = false;
};
SetLine ReadSetLine(std::string_view line);

// Values of one input collected into ranges of each family.
class SetBuilder {
 public:
  explicit SetBuilder(bool ipv6Integers) : reading_{true, true, ipv6Integers} {}
  // Adds a value (blanks around a range's '-' allowed); returns its
  // verdict, Converted when added.
  quadsum::Verdict Add(std::string_view value);
  // A whole line that is one address or network ADDRESS/LEN, as most lines
  // of a list are, read by the address parse alone; false for anything
  // else, which Add then reads.
  bool AddAddress(std::string_view line);
  // Room for the values of an input of this many bytes, so that the ranges
  // are not copied as they grow: address space only, each page is touched
  // when values fill it.
  void Reserve(std::uint64_t bytes);
  IpSets Build();

 private:
  quadsum::Reading reading_;
  Ipv4Set::Ranges v4_;
  Ipv6Set::Ranges v6_;
};

// Runs the command, reading its files (standard input for "-" or when none
// is named) and writing on the descriptors; returns the exit status.
int RunSets(const SetCommand& command, const Descriptors& fds = {});

}  // namespace quadsum_cli
