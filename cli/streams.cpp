#include "cli/streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quadsum_cli {
namespace {

constexpr std::size_t kBlock = 1 << 20;
// How much of an over-long line is kept: for its message, and for a reader
// that still looks at its start (a comment line may be of any length).
constexpr std::size_t kOverlongKept = kMaxLineLength;


// Ends of lines, kept by the reader's lines.
constexpr std::string_view kLf = "\n", kCrLf = "\r\n";

long WriteSome(int fd, const char* from, std::size_t n) {
#ifdef _WIN32
  return _write(fd, from, static_cast<unsigned>(n));
#else
  return static_cast<long>(write(fd, from, n));
#endif
}

}  // namespace

bool IsTerminal(int fd) {
#ifdef _WIN32
  return _isatty(fd) != 0;
#else
  return isatty(fd) != 0;
#endif
}

long ReadSome(int fd, char* into, std::size_t n) {
#ifdef _WIN32
  return _read(fd, into, static_cast<unsigned>(n));
#else
  return static_cast<long>(read(fd, into, n));
#endif
}

Output::Output(int fd, std::size_t size) : fd_(fd), buffer_(size) {}

char* Output::Room(std::size_t n) {
  if (buffer_.size() - used_ < n) Flush();
  return buffer_.data() + used_;
}

// Block by block: text beyond what the buffer holds is written as it comes.
void Output::AppendLong(std::string_view text) {
  while (!text.empty()) {
    const std::size_t n = std::min(text.size(), buffer_.size() / 2);
    Commit(std::copy_n(text.data(), n, Room(n)));
    text.remove_prefix(n);
  }
}

bool Output::Flush() {
  std::size_t done = 0;
  while (done < used_ && !failed()) {
    const long n = WriteSome(fd_, buffer_.data() + done, used_ - done);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n == 0 || errno != EINTR) error_ = n < 0 ? errno : EIO;
  }
  used_ = 0;  // after a failure output is dropped, and the run ends with an error
  return !failed();
}

LineReader::LineReader(int fd, Output& output)
    : fd_(fd), output_(output), buffer_(kBlock + kMaxLineLength + 1) {
  overlongStart_.reserve(kOverlongKept);
}

bool LineReader::Next(Line& line, Output* copyTo) {
  for (;;) {
    const char* const begin = buffer_.data() + begin_;
    const std::size_t pending = end_ - begin_;
    if (const void* lf = std::memchr(begin, '\n', pending)) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - begin);
      const bool cr = length > 0 && begin[length - 1] == '\r';
      begin_ += length + 1;
      if (copyTo) copyTo->Append({begin, length + 1});
      line = {{begin, length}, length - cr, cr ? kCrLf : kLf};
      return true;
    }
    // Up to the longest line and a CR may still end in an LF.
    if (pending > kMaxLineLength + (pending > 0 && begin[pending - 1] == '\r')) return SkipOverlong(line, copyTo);
    if (atEnd_ && pending == 0) return false;
    if (atEnd_) {
      if (copyTo) copyTo->Append({begin, pending});
      line = {{begin, pending}, pending - (begin[pending - 1] == '\r'), {}};
      begin_ = end_;
      return true;
    }
    Refill();
  }
}

bool LineReader::MayHoldQuote(std::string_view text) {
  const auto at = static_cast<std::size_t>(text.data() - buffer_.data());
  if (!nextQuoteKnown_ || nextQuote_ < at) {
    const void* quote = std::memchr(text.data(), '"', end_ - at);
    nextQuote_ = quote ? static_cast<std::size_t>(static_cast<const char*>(quote) - buffer_.data()) : end_;
    nextQuoteKnown_ = true;
  }
  return nextQuote_ < at + text.size();
}

void LineReader::SkipByteOrderMark() {
  constexpr std::string_view kMark = "\xef\xbb\xbf";
  while (end_ - begin_ < kMark.size() && !atEnd_) Refill();
  if (Pending().substr(0, kMark.size()) == kMark) begin_ += kMark.size();
}

// Moves the unfinished line to the front and reads after it. Pending bytes
// never exceed kMaxLineLength + 1, so every read asks for at least a block.
bool LineReader::Refill() {
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  output_.Flush();
  long n = 0;
  do n = ReadSome(fd_, buffer_.data() + end_, buffer_.size() - end_);
  while (n < 0 && errno == EINTR);
  if (n > 0) end_ += static_cast<std::size_t>(n);
  if (n < 0) error_ = errno;
  atEnd_ = n <= 0;
  nextQuoteKnown_ = false;
  return n > 0;
}

// Keeps the start of the line for its message and counts the rest of it
// block by block up to its LF, storing none of it (but copying it to copyTo).
bool LineReader::SkipOverlong(Line& line, Output* copyTo) {
  overlongStart_.assign(buffer_.data() + begin_, kOverlongKept);
  std::uint64_t length = 0;
  char last = 0;
  const void* lf = nullptr;
  for (;;) {
    const char* const begin = buffer_.data() + begin_;
    const std::size_t pending = end_ - begin_;
    lf = std::memchr(begin, '\n', pending);
    const std::size_t counted = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : pending;
    if (counted > 0) last = begin[counted - 1];
    length += counted;
    begin_ += lf ? counted + 1 : counted;
    if (copyTo) copyTo->Append({begin, lf ? counted + 1 : counted});
    if (lf || !Refill()) break;
  }
  const bool cr = last == '\r';
  line = {overlongStart_, length - cr, lf ? (cr ? kCrLf : kLf) : std::string_view{}};
  return true;
}

}  // namespace quadsum_cli
