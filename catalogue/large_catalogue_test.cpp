// Large and hostile catalogue files, made at build time by
// tools/gen_large_catalogue.py into QUENSTREL_LARGE_DIR.
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/editing.h"
#include "catalogue/record.h"
#include "search/text.h"
#include "tests/fakes/fake_catalogue_view.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/scripted_pump.h"
#include "tests/support/reference.h"

namespace quenstrel {
namespace {

using Texts = std::vector<std::string>;

std::string ReadFile(const std::string& name) {
  std::ifstream in(std::string(QUENSTREL_LARGE_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The quicksort as first described, in the test only: middle pivot, Hoare
// partition, both parts sorted, no fallback. Counts its comparisons. The
// parts wait on a list rather than the stack, which such a sort would
// overflow on the orders below.
std::uint64_t PlainQuickSortComparisons(Texts& t) {
  std::uint64_t comparisons = 0;
  auto before = [&](const std::string& a, const std::string& b) {
    ++comparisons;
    return a < b;
  };
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> spans = {
      {0, static_cast<std::ptrdiff_t>(t.size()) - 1}};
  while (!spans.empty()) {
    const auto [lo, hi] = spans.back();
    spans.pop_back();
    if (lo >= hi) continue;
    const std::string pivot = t[lo + (hi - lo) / 2];
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    while (i <= j) {
      while (before(t[i], pivot)) ++i;
      while (before(pivot, t[j])) --j;
      if (i <= j) std::swap(t[i++], t[j--]);
    }
    spans.push_back({lo, j});
    spans.push_back({i, hi});
  }
  return comparisons;
}

TEST(AdversarialCatalogue, DrivesAPlainMiddlePivotQuicksortQuadratic) {
  // Without this, the bounded-stack load below would prove nothing.
  Texts adversarial = CutLines(ReadFile("adversarial_20000.txt"));
  Texts shuffled = CutLines(ReadFile("shuffled_20000.txt"));
  const std::uint64_t n = adversarial.size();
  ASSERT_EQ(n, 20000u);
  Texts expected = shuffled;
  std::sort(expected.begin(), expected.end());

  EXPECT_GE(PlainQuickSortComparisons(adversarial), n * n / 4);
  EXPECT_LE(PlainQuickSortComparisons(shuffled), 4 * n * 15);  // about 2 n log2 n
  EXPECT_EQ(adversarial, expected);
  EXPECT_EQ(shuffled, expected);
}

// Runs `work` on a thread with a stack of `bytes`: too small for a sort
// whose depth grows with the number of records.
void RunWithStack(std::size_t bytes, void (*work)(void*), void* arg) {
  struct Call {
    void (*work)(void*);
    void* arg;
  } call{work, arg};
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, bytes), 0);
  pthread_t thread;
  auto start = [](void* p) -> void* {
    auto* c = static_cast<Call*>(p);
    c->work(c->arg);
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, start, &call), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attr);
}

struct LoadJob {
  FakeFileSystem fs;
  FakeCatalogueView view;
  Catalogue catalogue;
};

TEST(AdversarialCatalogue, LoadsSortedOnASmallStack) {
  LoadJob job;
  const std::string text = ReadFile("adversarial_200000.txt");
  job.fs.files[CatalogueFilePath(job.fs)] = text;
  RunWithStack(
      256 * 1024,
      [](void* p) {
        auto* j = static_cast<LoadJob*>(p);
        LoadCatalogue(j->catalogue, j->fs, j->view);
      },
      &job);
  const Texts& records = job.catalogue.records;
  EXPECT_EQ(records.size(), 200000u);
  EXPECT_TRUE(std::is_sorted(records.begin(), records.end()));
  EXPECT_EQ(records, reference::Load(text));
  EXPECT_EQ(job.view.items.size(), records.size());
}

// Loads each hostile file, then runs each command on it: the load gives
// the records the reading rules give, and the rewrite keeps every record the
// command did not select, byte for byte.
class HostileCatalogue : public testing::TestWithParam<const char*> {
 protected:
  void Load(const std::string& text) {
    fs.files[Path()] = text;
    view.ClearList();
    LoadCatalogue(catalogue, fs, view);
  }
  std::string Path() { return CatalogueFilePath(fs); }
  EditingContext Context() { return {catalogue, fs, view, pump}; }
  static Texts Without(Texts records, const std::string& mnemonic) {
    std::erase_if(records, [&](const std::string& r) { return TakeField(r, " ", 1) == mnemonic; });
    return records;
  }
  static Texts Sorted(Texts t) {
    std::sort(t.begin(), t.end());
    return t;
  }

  FakeFileSystem fs;
  FakeCatalogueView view;
  ScriptedPump pump;
  Catalogue catalogue;
};

TEST_P(HostileCatalogue, LoadsByTheRulesAndEditsLoseNothing) {
  const std::string text = ReadFile(GetParam());
  const Texts expected = reference::Load(text);
  Load(text);
  ASSERT_EQ(catalogue.records, expected);
  ASSERT_EQ(fs.files[Path()], text);  // loading never rewrites
  if (expected.empty()) return;
  const std::string some = TakeField(expected[expected.size() / 2], " ", 1);

  view.descriptionText = "addx   new \xB4\xAB\xCB\xCD";
  ASSERT_TRUE(AddInstruction(Context()));
  Texts added = expected;
  added.push_back("ADDX   new\xB4\xAB\xCB\xCD");
  EXPECT_EQ(catalogue.records, Sorted(added));
  EXPECT_EQ(fs.files[Path()], reference::FileText(added));

  Load(text);
  view.descriptionText = some + " changed";
  ASSERT_TRUE(ModifyInstruction(Context(), some));
  Texts modified = Without(expected, some);
  const std::size_t matched = expected.size() - modified.size();
  modified.insert(modified.end(), matched, some + "   changed");
  EXPECT_EQ(catalogue.records, Sorted(modified));

  Load(text);
  ASSERT_TRUE(DeleteInstruction(Context(), some));
  EXPECT_EQ(catalogue.records, Without(expected, some));
  EXPECT_EQ(fs.files[Path()], reference::FileText(Without(expected, some)));
}

INSTANTIATE_TEST_SUITE_P(Files, HostileCatalogue,
                         testing::Values("one_mb_line.txt", "random_bytes.txt", "random_no_nul.txt",
                                         "hostile_lines.txt", "lf_only.txt", "shuffled_20000.txt"));

TEST(HostileCatalogue, FilesHaveTheShapesTheyAreFor) {
  // Guards the generator: each file must still be the case it stands for.
  const Texts big = reference::Load(ReadFile("one_mb_line.txt"));
  ASSERT_EQ(big.size(), 3u);
  EXPECT_GT(big[1].size(), 1000000u);
  EXPECT_EQ(reference::Load(ReadFile("lf_only.txt")).size(), 1u);
  EXPECT_GT(reference::Load(ReadFile("random_no_nul.txt")).size(), 50u);
  EXPECT_GT(reference::Load(ReadFile("hostile_lines.txt")).size(), 10000u);
}

}  // namespace
}  // namespace quenstrel
