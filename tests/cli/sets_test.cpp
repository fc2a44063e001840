// quadsum-cli's set modes on files against a bitset model: random sets in
// small universes of both families, written in every shape a line may take
// (comments, blanks, CR LF, a byte-order mark), combined by every mode and
// written in every form, then read back and compared.

#include <gtest/gtest.h>

#include <bitset>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/sets.h"
#include "core/ip_value.h"
#include "core/ipv6.h"
#include "core/strict_address.h"

namespace {

using quadsum::Uint128;
using quadsum_cli::SetCommand;
using quadsum_cli::SetForm;
using quadsum_cli::SetMode;

constexpr std::size_t kUniverse = 4096;
using Bits = std::bitset<kUniverse>;
struct Model {
  Bits v4, v6;
};

struct Universe {
  Uint128 v4, v6;  // first numbers
  bool v6Low;      // IPv6 numbers below 2^32: their integers read as IPv4
};
const Universe kUniverses[] = {
    {{}, {}, true},
    {Uint128(0, 0xFFFFF000), Uint128::Max() - Uint128(0, kUniverse - 1), false},
    {Uint128(0, 0x0A0FF800), Uint128(0, 0xFFFF00000000), false},
    {Uint128(0, 0xC0A80000), Uint128(0x20010db8, ~std::uint64_t{0} - 2047), false},
};

std::string Text(Uint128 value, unsigned bits) {
  char out[quadsum::kNumberRoom];
  return {out, quadsum::WriteAddress(value, bits, out)};
}

std::string Integer(Uint128 value, unsigned bits, bool hex) {
  char out[quadsum::kNumberRoom];
  return {out, quadsum::WriteNumber(value, bits, hex, out)};
}

// A file of random values of both families in random shapes, and the
// numbers they cover.
class FileWriter {
 public:
  FileWriter(std::mt19937& random, const Universe& universe) : random_(random), universe_(universe) {}

  std::string Write(Model& model) {
    std::string text = random_() % 4 == 0 ? "\xef\xbb\xbf" : "";
    const char* ends[] = {"\n", "\r\n"};
    const char* end = ends[random_() % 2];
    for (int n = random_() % 14; n > 0; --n) {
      const bool v6 = random_() % 2;
      text += Decorated(Value(v6, v6 ? model.v6 : model.v4, v6 ? universe_.v6 : universe_.v4)) + end;
    }
    return text;
  }

 private:
  std::string Decorated(const std::string& value) {
    const char* before[] = {"", "", " ", "\t", "# a comment\n", "; another\n", "\n", " \t \n"};
    const char* after[] = {"", "", " ", " # 1.2.3.4", "\t; SBL 5", " ;", "\t#"};
    return std::string(before[random_() % 8]) + value + after[random_() % 7];
  }

  // A network (its length or netmask), a range (addresses or integers, blanks around its '-' or
  // not) or one number, within the universe.
  std::string Value(bool v6, Bits& bits, Uint128 base) {
    const unsigned family = v6 ? 128 : 32;
    std::size_t first = random_() % kUniverse, last = first;
    std::string text;
    switch (random_() % 4) {
      case 0: {
        const unsigned host = random_() % 10;
        first &= ~((std::size_t{1} << host) - 1);
        last = first + (std::size_t{1} << host) - 1;
        const std::size_t written = first + random_() % (std::size_t{1} << host);  // host bits are dropped
        const bool mask = !v6 && random_() % 2;  // a dotted netmask
        text = Text(base + Uint128(0, written), family) + "/" +
               (mask ? quadsum::DottedText(~0u << host) : std::to_string(family - host));
        break;
      }
      case 1: {
        last = std::min(kUniverse - 1, first + random_() % (random_() % 2 ? 40 : kUniverse));
        const char* dashes[] = {"-", " - ", "\t-", "-  "};
        text = Text(base + Uint128(0, first), family) + dashes[random_() % 4] + Text(base + Uint128(0, last), family);
        break;
      }
      case 2:
        text = Text(base + Uint128(0, first), family);
        break;
      default: {
        last = std::min(kUniverse - 1, first + random_() % 300);
        const bool hex = v6 || random_() % 2;  // wide hex integers are IPv6 whatever their value
        text = Integer(base + Uint128(0, first), family, hex);
        if (last != first || random_() % 2) text += "-" + Integer(base + Uint128(0, last), family, hex);
      }
    }
    for (std::size_t i = first; i <= last; ++i) bits.set(i);
    return text;
  }

  std::mt19937& random_;
  const Universe& universe_;
};

// One output line read back into the model; the networks form also checks
// each network is aligned, in the set, and its parent is not.
class OutputReader {
 public:
  OutputReader(const Universe& universe, const Model& want, const SetCommand& command)
      : universe_(universe), want_(want), command_(command) {}

  void Line(const std::string& line) {
    const bool integers = command_.form == SetForm::Integers;
    const std::size_t tab = line.find('\t');
    const auto value = quadsum::ReadIpValue(integers ? line.substr(0, tab) + "-" + line.substr(tab + 1) : line,
                                            {true, true, false});
    ASSERT_EQ(value.verdict, quadsum::Verdict::Converted) << line;
    ASSERT_EQ(value.integer, integers) << line;
    if (integers) ASSERT_EQ(line.substr(0, 2) == "0x", command_.hex) << line;
    const bool v6 = value.bits == 128;
    ASSERT_TRUE(!sawV6_ || v6) << "IPv4 after IPv6: " << line;
    sawV6_ = v6;
    const Uint128 base = v6 ? universe_.v6 : universe_.v4;
    const Uint128 first = value.first - base, last = value.last - base;
    ASSERT_TRUE(last < Uint128(0, kUniverse) && first <= last) << line;
    Bits& bits = v6 ? got_.v6 : got_.v4;
    const Bits& want = v6 ? want_.v6 : want_.v4;
    const std::size_t lo = first.low(), hi = last.low();
    const bool single = command_.form == SetForm::Expand || command_.form == SetForm::Networks;
    if (!single) {  // a maximal range: neither end has a neighbour in the set
      EXPECT_TRUE((lo == 0 || !want[lo - 1]) && (hi + 1 == kUniverse || !want[hi + 1])) << "not maximal: " << line;
      if (command_.form == SetForm::Ranges) EXPECT_EQ(lo == hi, line.find('-') == std::string::npos) << line;
    }
    if (command_.form == SetForm::Networks) Network(line, value, want, lo, hi);
    EXPECT_TRUE(v6 != last6_ || lo >= next_) << "out of order: " << line;
    for (std::size_t i = lo; i <= hi; ++i) bits.set(i);
    next_ = hi + 1;
    last6_ = v6;
  }

  const Model& got() const { return got_; }

 private:
  void Network(const std::string& line, const quadsum::IpValue& value, const Bits& want, std::size_t lo,
               std::size_t hi) {
    const auto start = quadsum::ReadIpValue(line.substr(0, line.find('/')), {});
    EXPECT_EQ(start.first, value.first) << "host bits set: " << line;
    // The parent: this block and its sibling. One reaching out of the
    // universe is not in the set.
    const std::size_t size = hi - lo + 1;
    const Uint128 base = value.bits == 128 ? universe_.v6 : universe_.v4;
    const Uint128 parentFirst = value.first & ~Uint128(0, 2 * size - 1), parent = parentFirst - base;
    bool parentIn = parentFirst >= base && parent < Uint128(0, kUniverse) && parent.low() + 2 * size <= kUniverse;
    for (std::size_t i = parent.low(); parentIn && i < parent.low() + 2 * size; ++i) parentIn = want[i];
    EXPECT_FALSE(parentIn) << "parent in the set: " << line;
    for (std::size_t i = lo; i <= hi; ++i) EXPECT_TRUE(want[i]) << "outside the set: " << line;
  }

  const Universe& universe_;
  const Model& want_;
  const SetCommand& command_;
  Model got_;
  bool sawV6_ = false, last6_ = false;  // an IPv6 line came; the last line was one
  std::size_t next_ = 0;
};

class SetsOnFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("quadsum-sets-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Runs the command on the files, returning its exit status and output.
  std::pair<int, std::string> Run(SetCommand command, const std::vector<std::string>& files) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < files.size(); ++i) {
      paths.push_back(Path("in" + std::to_string(i)));
      std::ofstream(paths.back(), std::ios::binary) << files[i];
    }
    for (const std::string& path : paths) command.files.push_back(path);
    std::FILE* out = std::fopen(Path("out").c_str(), "wb");
#ifdef _WIN32
    const int status = quadsum_cli::RunSets(command, {0, _fileno(out), 2});
#else
    const int status = quadsum_cli::RunSets(command, {0, fileno(out), 2});
#endif
    std::fclose(out);
    std::stringstream text;
    text << std::ifstream(Path("out"), std::ios::binary).rdbuf();
    return {status, text.str()};
  }

  std::filesystem::path dir_;
};

Model Expected(SetMode mode, const std::vector<Model>& inputs) {
  Model out = inputs[0];
  for (std::size_t i = 1; i < inputs.size(); ++i) {
    const Model& x = inputs[i];
    if (mode == SetMode::Merge || mode == SetMode::Count) out = {out.v4 | x.v4, out.v6 | x.v6};
    if (mode == SetMode::Common) out = {out.v4 & x.v4, out.v6 & x.v6};
    if (mode == SetMode::Except) out = {out.v4 & ~x.v4, out.v6 & ~x.v6};
    if (mode == SetMode::Diff) out = {out.v4 ^ x.v4, out.v6 ^ x.v6};
  }
  return out;
}

TEST_F(SetsOnFiles, EveryModeAndFormAgreesWithTheModel) {
  std::mt19937 random(2026);
  const SetMode modes[] = {SetMode::Merge, SetMode::Common, SetMode::Except, SetMode::Diff};
  for (int round = 0; round < 240; ++round) {
    const Universe& universe = kUniverses[round % 4];
    SetCommand command{modes[round / 4 % 4], static_cast<SetForm>(round / 16 % 4), round / 64 % 2 == 1};
    if (command.form == SetForm::Integers && universe.v6Low && !command.hex) continue;  // IPv6 numbers read as IPv4
    const std::size_t count = command.mode == SetMode::Diff ? 2 : 1 + (command.mode != SetMode::Merge) + random() % 3;
    std::vector<std::string> files;
    std::vector<Model> models(count);
    FileWriter writer(random, universe);
    for (Model& model : models) files.push_back(writer.Write(model));
    const Model want = Expected(command.mode, models);
    const auto [status, out] = Run(command, files);
    OutputReader reader(universe, want, command);
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) reader.Line(line);
    SCOPED_TRACE("round " + std::to_string(round) + ", output:\n" + out);
    EXPECT_EQ(reader.got().v4, want.v4);
    EXPECT_EQ(reader.got().v6, want.v6);
    const bool none = want.v4.none() && want.v6.none();
    EXPECT_EQ(status, command.mode == SetMode::Diff && !none ? 1 : 0);
    if (HasFailure()) return;
  }
}

// Lines as a set file holds them: the value, and whether a comment ended it.
TEST(SetLines, CommentsBlanksAndLineEnds) {
  const std::tuple<std::string, std::string, bool> rows[] = {
      {"1.2.3.4", "1.2.3.4", false}, {" \t1.2.3.4 \r", "1.2.3.4", false}, {"", "", false}, {" \t\r", "", false},
      {"# 1.2.3.4", "", true}, {"  ;x", "", true}, {"#", "", true}, {"1.10.16.0/20 ; SBL256894", "1.10.16.0/20", true},
      {"1.2.3.4\t#c\r", "1.2.3.4", true}, {"1.2.3.4#c", "1.2.3.4#c", false}, {"1.2.3.4 x ; y", "1.2.3.4 x", true},
      {"1.0.0.0 - 1.0.0.9 # r", "1.0.0.0 - 1.0.0.9", true}, {"1.2.3.4 ;", "1.2.3.4", true}, {"\r\r", "\r", false},
  };
  for (const auto& [line, value, comment] : rows) {
    const auto read = quadsum_cli::ReadSetLine(line);
    EXPECT_EQ(read.value, value) << '"' << line << '"';
    EXPECT_EQ(read.comment, comment) << '"' << line << '"';
  }
}

}  // namespace
