// The FILE source reads a binary FILE in blocks: wherever a block ends, it
// must give what the single-byte read gives of the same file in the C
// runtime's text mode.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ppd/ppd_dump.h"
#include "ppd/ppd_scan.h"
#include "ppd_test_support.h"

namespace qx {
namespace {

using test::ReadFileByte;
using test::ReadWholeFile;
using test::SampleDirectory;
using test::SampleNames;

// Block sizes that put block ends everywhere: single bytes, odd sizes,
// blocks just over one vector, and the default.
const size_t kBlockSizes[] = {1, 2, 3, 7, 16, 17, 33, 4093, FileByteSource::kBlockBytes};

class TempFile {
 public:
  explicit TempFile(const std::string &data) {
    static int counter = 0;
    // The process id keeps test programs that run at once (the scalar and
    // vector builds of these tests) apart.
    path_ = testing::TempDir() + "qx_ppd_source_" + std::to_string(test::ProcessId()) + "_" +
            std::to_string(++counter) + ".ppd";
    FILE *out = std::fopen(path_.c_str(), "wb");
    EXPECT_NE(out, nullptr) << path_;
    if (out != nullptr) {
      std::fwrite(data.data(), 1, data.size(), out);
      std::fclose(out);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

std::string DumpOf(const std::unique_ptr<PpdModel> &model) {
  return model ? DumpPpdModel(*model) : "(null)";
}

// The model through the single-byte read of a FILE opened with mode.
std::string DumpBySingleBytes(const std::string &path, const char *mode) {
  FILE *file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return "(unopened)";
  std::string dump = DumpOf(ReadPpdModel(&ReadFileByte, file));
  std::fclose(file);
  return dump;
}

std::string DumpByBlocks(const std::string &path, const char *mode, size_t blockBytes) {
  FILE *file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return "(unopened)";
  FileByteSource source(file, blockBytes);
  std::string dump = DumpOf(ReadPpdModelFromSource(source));
  std::fclose(file);
  return dump;
}

// The single-byte read of the file in text mode: the runtime's own on
// Windows; natively, which has none, over the bytes text mode would give.
std::string TextModeDump(const std::string &path) {
#ifdef _WIN32
  return DumpBySingleBytes(path, "r");
#else
  return DumpOf(test::ReadString(test::TextModeBytes(ReadWholeFile(path))));
#endif
}

// Every block size gives the text-mode single-byte model.
void ExpectBlocksAgree(const std::string &path, const std::vector<size_t> &sizes) {
  std::string expected = TextModeDump(path);
  for (size_t size : sizes) {
    EXPECT_EQ(DumpByBlocks(path, "rb", size), expected) << "block " << size;
  }
}

TEST(FileByteSource, SamplesGiveTheSameModelWhereverBlocksEnd) {
  std::vector<size_t> sizes(std::begin(kBlockSizes), std::end(kBlockSizes));
  for (const std::string &name : SampleNames()) {
    SCOPED_TRACE(name);
    ExpectBlocksAgree(SampleDirectory() + "/" + name, sizes);
  }
}

TEST(FileByteSource, OddAndCutInputsGiveTheSameModel) {
  const std::string feature =
      "*OpenUI *A/A: PickOne\r\n*DefaultA: X\r\n*A X/<58>: \"one\r\ntwo\"\r\n*A Y: \"y\"\n"
      "*CloseUI: *A\r\n";
  const std::string inputs[] = {
      "",
      "*",
      "*%",
      "%",
      "\x1a",
      feature,
      feature + "\x1a*OpenUI *B: PickOne\r\n*CloseUI: *B\r\n",  // text mode ends at 0x1A
      feature + "*UIConstraints: *A X *A Y",                     // no final line end
      feature + "*UIConstraints: *A X *A",                       // cut inside a constraint
      "*OpenUI *A: PickOne\r*A X: \"cr\ronly\"\r*CloseUI: *A\r",  // lone carriage returns
      "*OpenUI *A: PickOne\n*A X: \"open to the end",
      "*ModelName: \"cut",
      "*%comment to the end",
      "*ModelName:\r\n\r\n\"M\"\r\n*Product:*",
      // Feature keywords an option line's first token can never equal.
      "*OpenUI *W X/T: PickOne\n*W X o/t: \"i\"\n*W o2: \"j\"\n*CloseUI: *W X\n",
      "*OpenUI *W\"Q/T: PickOne\n*W\"Q o: \"i\"\n*CloseUI: *W\n",
      "*OpenUI %W/T: PickOne\n%W o/t: \"i\"\n*CloseUI: %W\n",
      "*OpenUI *%W/T: PickOne\n*%W o/t: \"i\"\n*CloseUI: *%W\n",
      "*OpenUI *W<20>X/T: PickOne\n*W X o/t: \"i\"\n*CloseUI: *W\n",
  };
  std::vector<size_t> sizes(std::begin(kBlockSizes), std::end(kBlockSizes));
  for (const std::string &input : inputs) {
    SCOPED_TRACE(testing::PrintToString(input));
    TempFile file(input);
    ExpectBlocksAgree(file.path(), sizes);
  }
}

// The tokens of a source; with spacesEvery > 0 every so many tokens are
// read with the spaces flag set.
template <class Source>
std::vector<std::string> TokensOf(Source &source, int spacesEvery = 0) {
  PpdToken token;
  token.bytes = static_cast<unsigned char *>(std::malloc(kPpdTokenUnits));
  std::vector<std::string> tokens;
  while (ppd_detail::ReadTokenFrom(source, token, spacesEvery > 0 && tokens.size() % spacesEvery == 0)) {
    EXPECT_EQ(token.bytes[token.length], 0);
    tokens.emplace_back(reinterpret_cast<char *>(token.bytes), static_cast<size_t>(token.length));
  }
  std::free(token.bytes);
  return tokens;
}

// Bytes rich in everything that starts, ends or continues a token, runs of
// ordinary bytes long and short among them.
std::string ScannerTorture() {
  const char special[] = {'*', '%', '"', ':', ' ', '\t', '\n', '\r', '\f', '\0', '\x01', '\x0b',
                          '\x1b', '\x1f', '\x7f', '\x80', '\xff', '/', '<', '>'};
  std::string data;
  uint32_t state = 12345;
  auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
  while (data.size() < 40000) {
    data.append(next() % 41, static_cast<char>('a' + next() % 26));
    data += special[next() % sizeof special];
  }
  return data;
}

TEST(FileByteSource, TokensAreTheSingleByteSourcesWhereverBlocksEnd) {
  const std::string data = ScannerTorture();
  TempFile file(data);
  for (int spacesEvery : {0, 3}) {
    test::StringBytes bytes{test::TextModeBytes(data)};
    ByteSource single(&test::StringBytes::Next, &bytes);
    std::vector<std::string> expected = TokensOf(single, spacesEvery);
    ASSERT_GT(expected.size(), 500u);
    for (size_t size : kBlockSizes) {
      FILE *in = std::fopen(file.path().c_str(), "rb");
      ASSERT_NE(in, nullptr);
      FileByteSource blocks(in, size);
      EXPECT_TRUE(TokensOf(blocks, spacesEvery) == expected) << "block " << size << ", spaces every "
                                                             << spacesEvery;
      std::fclose(in);
    }
  }
}

// Constraint, option (invocations quoted and plain), default and header lines whose words hold every byte
// that ends, starts or breaks a word or a translation, at every length
// around sixteen and some beyond sixty-four; constraint keywords ended every
// way, and constraints of three to five words on a line.
std::string ModelTorture() {
  const char special[] = {'*', '%', '"', ':', ' ', '\t', '\n', '\r', '\0', '\x01', '\x80', '\xe9',
                          '/', '<', '>'};
  uint32_t state = 777;
  auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
  // Clean words, words with one special byte (often the last), and words
  // full of them.
  auto word = [&] {
    std::string w(next() % 16 == 0 ? 60 + next() % 12 : next() % 24, 'w');
    uint32_t kind = next() % 8;
    for (char &c : w) {
      c = kind == 7 && next() % 6 == 0 ? special[next() % sizeof special] : static_cast<char>('A' + next() % 26);
    }
    if (kind >= 5 && kind < 7 && !w.empty()) w[next() % 2 ? w.size() - 1 : next() % w.size()] = special[next() % sizeof special];
    return w;
  };
  const char *keywords[] = {"*UIConstraints: ", "*UIConstraints ", "*UIConstraints\t", "*UIConstraints\"",
                            "*UIConstraints:\n ", "*UIConstraintsX: ", " \t*UIConstraints: "};
  std::string data = "*OpenUI *W: PickOne\n*DefaultW: " + word() + "\n*CloseUI: *W\n";
  while (data.size() < 120000) {
    switch (next() % 6) {
      case 0: data += "*ModelName: " + word() + "\n"; break;
      case 1:
        data += "*OpenUI *W: PickOne\n*DefaultW: " + word() + "\n*W " + word() + "/" + word() +
                ": \"" + word() + "\"\n*W *" + word() + ": x\n*W " + word() + ":" + word() +
                "\n*CloseUI: *W\n";
        break;
      default: {
        data += keywords[next() % (sizeof keywords / sizeof *keywords)];
        int words = next() % 4 == 0 ? 3 + next() % 3 : 4;
        for (int i = 0; i < words; ++i) data += (i % 2 == 0 ? "*" : next() % 2 ? "\t" : "  ") + word() + " ";
        data += next() % 2 ? "\r\n" : "\n";
      }
    }
  }
  return data;
}

TEST(FileByteSource, WordsGiveTheSameModelWhereverBlocksEnd) {
  const std::string data = ModelTorture();
  TempFile file(data);
  std::string expected = DumpOf(test::ReadString(test::TextModeBytes(data)));
  ASSERT_GT(expected.size(), 40000u);
  for (size_t size : kBlockSizes) {
    EXPECT_EQ(DumpByBlocks(file.path(), "rb", size), expected) << "block " << size;
  }
}

TEST(FileByteSource, TokensOverTheLimitSpanManyBlocks) {
  std::string plain(kPpdTokenLimit + 2, 'p');
  std::string quoted(kPpdTokenLimit + 1, 'q');
  quoted[kPpdTokenLimit - 1] = 'z';
  std::string data = "*OpenUI *A: PickOne\n*A " + plain + ": \"" + quoted + "\"\n*A Y: " + plain +
                     "\n*CloseUI: *A\n";
  TempFile file(data);
  std::string expected = DumpBySingleBytes(file.path(), "rb");
  EXPECT_EQ(DumpByBlocks(file.path(), "rb", 65536), expected);
  EXPECT_EQ(DumpByBlocks(file.path(), "rb", 4093), expected);
  EXPECT_EQ(DumpByBlocks(file.path(), "rb", 17), expected);

  // The tokens themselves: the same as the single-byte source gives.
  FILE *in = std::fopen(file.path().c_str(), "rb");
  ASSERT_NE(in, nullptr);
  FileByteSource blocks(in, 4093);
  std::vector<std::string> fromBlocks = TokensOf(blocks);
  std::fclose(in);
  test::StringBytes bytes{data};
  ByteSource single(&test::StringBytes::Next, &bytes);
  std::vector<std::string> fromBytes = TokensOf(single);
  // The closing quote of the value, after the dropped byte, opens a quoted
  // token that runs over the next line to the limit.
  ASSERT_EQ(fromBlocks.size(), 11u);
  EXPECT_EQ(fromBlocks[4].size(), size_t(kPpdTokenLimit));
  EXPECT_EQ(fromBlocks[5], "p");  // the byte after the limit was dropped
  EXPECT_EQ(fromBlocks[6].back(), 'z');
  EXPECT_EQ(fromBlocks[7].size(), size_t(kPpdTokenLimit));
  EXPECT_EQ(fromBlocks[8], "pppppppp");
  EXPECT_TRUE(fromBlocks == fromBytes);
}

}  // namespace
}  // namespace qx
