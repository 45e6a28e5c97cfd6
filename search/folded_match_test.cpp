#include "search/folded_match.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "search/initials.h"

namespace quenstrel {
namespace {

std::string FoldedWithoutSpaces(std::string_view text) {
  std::string folded = FoldInitials(text);
  std::erase(folded, ' ');
  return folded;
}

// The text in an allocation of its own, `before` bytes of filler ahead of
// it, so that a read outside what may be read is one a sanitizer sees.
class Placed {
 public:
  Placed(std::string_view text, std::size_t before)
      : bytes_(std::make_unique<char[]>(before + text.size() + 1)), before_(before) {
    std::fill_n(bytes_.get(), before, 'x');
    std::copy(text.begin(), text.end(), bytes_.get() + before);
    size_ = text.size();
  }
  std::string_view Text() const { return {bytes_.get() + before_, size_}; }
  const char* Low() const { return bytes_.get(); }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t before_;
  std::size_t size_ = 0;
};

using Reading = FoldedMatch::Reading;

// Every way of reading that this processor has gives `expected`; the name
// of the first that does not, or nothing.
const char* Disagrees(std::string_view query, std::string_view text, std::size_t before,
                      bool expected) {
  const Placed placed(text, before);
  const std::pair<Reading, const char*> readings[] = {
      {Reading::kPlain, "plain"}, {Reading::kSse2, "SSE2"}, {Reading::kAvx2, "AVX2"}};
  for (const auto& [reading, name] : readings) {
    if (!FoldedMatch::Supported(reading)) continue;
    if (FoldedMatch(query, reading).In(placed.Text(), placed.Low()) != expected) return name;
  }
  return nullptr;
}

// 寄存器: jcq. 、 (A1 A2) has no letter. A1 6A is a pair, whatever its trail.
const std::string kJi = "\xBC\xC4", kCun = "\xB4\xE6", kQi = "\xC6\xF7", kDun = "\xA1\xA2";

TEST(FoldedMatch, FindsTheQueryInTheFoldWithoutSpaces) {
  struct Case {
    std::string query;
    std::string text;
    bool found;
  };
  const std::string padding(62, 'a');
  const Case cases[] = {
      {"jcq", " " + kJi + kCun + kQi + ".", true},
      {"jcq", " " + kJi + "  " + kCun + " " + kQi, true},  // spaces fall out
      {"jcq", " " + kJi + kCun + "x" + kQi, false},
      {"cq", kCun + kQi, true},
      {"jq", kJi + kCun + kQi, false},
      {"j", "\xA1j", true},          // the copied pair's trail byte is in the fold
      {"j", "\xA1j" + kJi, true},
      {"\xA1", "a\xA1j", true},      // and so is its lead byte
      {"\xA1j", "a\xA1j", true},
      {"\xA1j", kDun + "\xA1j", true},
      {"\xA1\xA2j", kDun + kJi, true},
      {"cq", kJi + "\xBC", false},   // a lone lead byte at the end stays
      {"\xBC", kJi + "\xBC", true},
      {"a\xBC", "a\xBC", true},
      {"j", "\x80" + kJi, false},    // 80 BC is one pair, C4 a lone byte
      // Pairs across the first block's end, and the query across it.
      {"jcq", padding + kJi + kCun + kQi, true},
      {"ajcq", padding.substr(1) + kJi + kCun + kQi, true},
      {"aj", padding + "a" + kJi, true},
      {"cq", padding + "a" + kJi + kCun + kQi, true},
      {"cq", padding + "\xA1" + kJi + kCun, false},  // A1 BC is a pair here
      {"jc", std::string(200, ' ') + kJi + std::string(100, ' ') + kCun, true},
      // Across the halves that a block is read in.
      {"jcq", std::string(30, 'a') + kJi + kCun + kQi, true},
      {"cq", std::string(31, 'a') + "\xA1" + kJi + kCun, false},
  };
  for (const Case& c : cases) {
    for (std::size_t before : {0, 16}) {
      SCOPED_TRACE(testing::Message() << "query " << c.query << " before " << before);
      ASSERT_EQ(FoldedWithoutSpaces(c.text).find(c.query) != std::string::npos, c.found);
      const char* wrong = Disagrees(c.query, c.text, before, c.found);
      EXPECT_EQ(wrong, nullptr) << wrong;
    }
  }
}

TEST(FoldedMatch, AgreesWithFoldingOnRandomTexts) {
  // Pieces that meet in every way: letters of the rows looked up and of
  // others, pairs without letters, lone high bytes, trail-range ASCII.
  const std::vector<std::string> pieces = {
      kJi, kCun, kQi, kDun, "\xD8\xA1", "\xF7\xFE", "\xBB\xF7", "\xBF\xA5", "j", "c", "q",
      "a", " ", "  ", "\x80", "\xFF", "\xA1", "\x40", "\x7E", ".", "\x00"};
  const std::vector<std::string> queries = {"j", "jc", "jcq", "cq", "q", "a", "ja", "\xA1", "\xA1j",
                                            "\x80", "jj", "qq", "\xFF", "\x7E", "za"};
  std::mt19937 random(11);
  int found = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 90);
    for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
    const std::string& query = queries[random() % queries.size()];
    const std::size_t before = random() % 3 == 0 ? 0 : random() % 20;
    const bool expected = FoldedWithoutSpaces(text).find(query) != std::string::npos;
    found += expected;
    if (const char* wrong = Disagrees(query, text, before, expected)) {
      ADD_FAILURE() << wrong << ": query " << testing::PrintToString(query) << " in "
                    << testing::PrintToString(text) << " before " << before;
      return;
    }
  }
  EXPECT_GT(found, 2000);  // the cases are not all misses
}

}  // namespace
}  // namespace quenstrel
