#include "platform/private_devmode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qx {
namespace {

uint32_t U32(const std::vector<uint8_t> &b, size_t off) {
  uint32_t v;
  std::memcpy(&v, b.data() + off, 4);
  return v;
}
void PutU32(std::vector<uint8_t> &b, size_t off, uint32_t v) { std::memcpy(b.data() + off, &v, 4); }
void PutU16(std::vector<uint8_t> &b, size_t off, uint16_t v) { std::memcpy(b.data() + off, &v, 2); }

std::vector<uint8_t> DefaultBlock() {
  std::vector<uint8_t> b(kPrivateDevmodeSize, 0xEE);
  InitPrivateDevmode(b.data());
  return b;
}

TEST(PrivateDevmode, DefaultsFillEveryByteButThePadding) {
  auto b = DefaultBlock();
  EXPECT_EQ(U32(b, 0), 6904u);
  EXPECT_EQ(U32(b, 4), 0x4B514C58u);
  EXPECT_EQ(U32(b, 8), 3u);
  EXPECT_EQ(U32(b, 12), 48u);
  EXPECT_EQ(U32(b, 16), 0x06060606u);
  EXPECT_EQ(U32(b, 20), 3u);
  EXPECT_EQ(U32(b, 60), 1u);
  EXPECT_EQ(b[214], 0xEE);
  EXPECT_EQ(b[215], 0xEE);
  for (size_t i = 24; i < b.size(); ++i) {
    if (i == 60) i = 64;
    if (i == 214) i = 216;
    ASSERT_EQ(b[i], 0) << "offset " << i;
  }
  InitPrivateDevmode(nullptr);  // ignored
}

TEST(PrivateDevmode, MergeOfAShortBlockKeepsTheRestOfTheOutput) {
  auto in = DefaultBlock(), out = DefaultBlock();
  PutU32(in, 0, 1500);
  std::memset(in.data() + 1244, 'a', 10);
  std::memset(in.data() + 2000, 0x11, 10);
  std::memset(out.data() + 2000, 0x22, 10);
  ASSERT_TRUE(MergePrivateDevmode(in.data(), out.data()));
  EXPECT_EQ(out[1244], 'a');
  EXPECT_EQ(out[2000], 0x22);
  EXPECT_EQ(U32(out, 0), 6904u);
  EXPECT_EQ(U32(out, 8), 3u);
}

TEST(PrivateDevmode, MergeCopiesAnyVersionAndRaisesIt) {
  auto in = DefaultBlock(), out = DefaultBlock();
  PutU32(in, 8, 2);
  PutU32(in, 68, 5);
  ASSERT_TRUE(MergePrivateDevmode(in.data(), out.data()));
  EXPECT_EQ(U32(out, 68), 5u);
  EXPECT_EQ(U32(out, 8), 3u);
}

TEST(PrivateDevmode, MergeNeverCopiesMoreThanOneBlock) {
  // Both size fields claim more than a block: the copy stops at 6904 bytes.
  std::vector<uint8_t> in(kPrivateDevmodeSize + 64, 0x33), out(kPrivateDevmodeSize + 64, 0x44);
  InitPrivateDevmode(in.data());
  InitPrivateDevmode(out.data());
  PutU32(in, 0, 0xFFFFFFFF);
  PutU32(out, 0, 0x10000);
  std::memset(in.data() + kPrivateDevmodeSize, 0x55, 64);
  ASSERT_TRUE(MergePrivateDevmode(in.data(), out.data()));
  EXPECT_EQ(out[kPrivateDevmodeSize], 0x44);
  EXPECT_EQ(U32(out, 0), 6904u);
}

TEST(PrivateDevmode, MergeOfAForeignBlockResetsTheOutput) {
  auto in = DefaultBlock(), out = DefaultBlock();
  PutU32(in, 4, 0x12345678);
  PutU32(out, 68, 5);
  out[1244] = 'x';
  ASSERT_TRUE(MergePrivateDevmode(in.data(), out.data()));
  EXPECT_EQ(out, DefaultBlock());
  EXPECT_FALSE(MergePrivateDevmode(nullptr, out.data()));
  EXPECT_FALSE(MergePrivateDevmode(in.data(), nullptr));
}

// A complete devmode: 220 public bytes, `extra` driver bytes, the block at
// `offset` inside them.
std::vector<uint8_t> JobDevmode(uint16_t extra, uint16_t offset) {
  std::vector<uint8_t> dm(220 + extra, 0);
  PutU16(dm, 68, 220);
  PutU16(dm, 70, extra);
  if (extra > 116) PutU16(dm, 220 + 114, offset);
  if (size_t(offset) + kPrivateDevmodeSize <= extra) InitPrivateDevmode(dm.data() + 220 + offset);
  return dm;
}

TEST(FindPrivateDevmode, FollowsTheDriverOffset) {
  auto dm = JobDevmode(400 + kPrivateDevmodeSize, 400);
  const PrivateDevmode *block = FindPrivateDevmode(dm.data(), dm.size());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<const uint8_t *>(block), dm.data() + 220 + 400);
}

TEST(FindPrivateDevmode, SmallDriverAreaMeansBlockAtItsStart) {
  // 116 bytes or less cannot hold the block at all.
  auto dm = JobDevmode(116, 0);
  EXPECT_EQ(FindPrivateDevmode(dm.data(), dm.size()), nullptr);
  auto whole = JobDevmode(kPrivateDevmodeSize, 0);
  // The offset field lies inside the block here (its reserved bytes): zero.
  EXPECT_EQ(FindPrivateDevmode(whole.data(), whole.size()), reinterpret_cast<const PrivateDevmode *>(whole.data() + 220));
}

TEST(FindPrivateDevmode, RejectsWrongVersionSignatureOrFit) {
  auto dm = JobDevmode(400 + kPrivateDevmodeSize, 400);
  PutU32(dm, 220 + 400 + 8, 2);
  EXPECT_EQ(FindPrivateDevmode(dm.data(), dm.size()), nullptr);
  dm = JobDevmode(400 + kPrivateDevmodeSize, 400);
  PutU32(dm, 220 + 400 + 4, 0);
  EXPECT_EQ(FindPrivateDevmode(dm.data(), dm.size()), nullptr);
  dm = JobDevmode(400 + kPrivateDevmodeSize, 400);
  PutU16(dm, 220 + 114, 401);  // one byte too far to fit
  EXPECT_EQ(FindPrivateDevmode(dm.data(), dm.size()), nullptr);
  PutU16(dm, 220 + 114, 0xFFFF);
  EXPECT_EQ(FindPrivateDevmode(dm.data(), dm.size()), nullptr);
  EXPECT_EQ(FindPrivateDevmode(nullptr, 100000), nullptr);
}

TEST(FindPrivateDevmode, NeverReadsPastTheGivenBytes) {
  // Every dmSize / dmDriverExtra / offset combination over a buffer exactly as
  // large as the caller knows; ASan reports any read outside it.
  const uint16_t sizes[] = {0, 1, 68, 71, 72, 200, 220, 221, 1000, 0xFFFF};
  const uint16_t extras[] = {0, 1, 115, 116, 117, 6904, 6905, 7100, 0xFFFF};
  const uint16_t offsets[] = {0, 1, 115, 116, 196, 197, 6904, 0xFFFF};
  for (size_t available : {size_t(72), size_t(300), size_t(220 + 7100)}) {
    for (uint16_t s : sizes)
      for (uint16_t e : extras)
        for (uint16_t o : offsets) {
          std::vector<uint8_t> dm(available, 0);
          PutU16(dm, 68, s);
          PutU16(dm, 70, e);
          if (size_t(s) + 116 <= available) PutU16(dm, s + 114, o);
          std::vector<uint8_t> exact(dm);  // heap block of exactly `available` bytes
          const PrivateDevmode *block = FindPrivateDevmode(exact.data(), exact.size());
          if (block) {
            auto at = reinterpret_cast<const uint8_t *>(block) - exact.data();
            ASSERT_LE(size_t(at) + kPrivateDevmodeSize, available);
          }
        }
  }
  std::vector<uint8_t> tiny(10, 0);
  EXPECT_EQ(FindPrivateDevmode(tiny.data(), tiny.size()), nullptr);
}

}  // namespace
}  // namespace qx
