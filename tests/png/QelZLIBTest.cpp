#include "png/QelZLIB.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "support/PngFiles.h"

namespace quorvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Row buffers for one ZRowStream, as the PNG writer lays them out.
struct RowBuffers {
  explicit RowBuffers(std::size_t size) : current(size), previous(size), best(size), trial(size) {}
  void Attach(ZRowStream& rows) {
    rows.CurrentRow = current.data();
    rows.PreviousRow = previous.data();
    rows.BestRow = best.data();
    rows.TrialRow = trial.data();
    rows.Counts = counts.data();
  }
  Bytes current, previous, best, trial;
  std::array<std::int32_t, 256> counts{};
};

// The filter type the adaptive (or a fixed) choice gives a first row.
int ChosenFilter(const Bytes& raw, std::int32_t mode, std::int32_t depthClass, std::int32_t bitsPerPixel = 8) {
  ZRowStream rows;
  RowBuffers buffers(raw.size() + 1);
  buffers.Attach(rows);
  std::copy(raw.begin(), raw.end(), buffers.current.begin());
  rows.RowLength = static_cast<std::int32_t>(raw.size()) + 1;
  rows.BitsPerPixel = bitsPerPixel;
  rows.FilterMode = mode;
  rows.DepthClass = depthClass;
  ZChooseFilter(rows);
  return rows.BestRow[0];
}

TEST(QelZLIB, RowScoresOfTheReferenceCandidates) {
  Bytes ramp = {0};
  for (int v = 0; v < 16; ++v) ramp.push_back(static_cast<std::uint8_t>(v));
  EXPECT_EQ(ZRowScore(ramp.data(), 17, 8, nullptr), 943);

  Bytes cycle = {0};
  for (int i = 0; i < 32; ++i) cycle.push_back(static_cast<std::uint8_t>(i % 12));
  EXPECT_EQ(ZRowScore(cycle.data(), 33, 1, nullptr), 2962);

  Bytes few = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7};
  EXPECT_EQ(ZRowScore(few.data(), 10, 8, nullptr), -1);
}

// None scores 1283 here; Sub ties it, Up and Average score 1162, Paeth 1356.
const Bytes kContestedRow = {36, 15, 0, 13, 26, 17, 11, 24, 10, 4, 8, 39, 39, 28, 8, 8};

TEST(QelZLIB, AdaptiveChoiceDoublesNoneForOneAndEightBitImages) {
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterAdaptive, 24), 4);  // Paeth; Sub's tie kept None before it
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterAdaptive, 32), 4);
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterAdaptive, 8), 0);  // None's 1283 counts as 2566
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterAdaptive, 1), 0);
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterAdaptive, 4), 0);  // 4-bit images always keep None
}

TEST(QelZLIB, AdaptiveChoiceKeepsNoneAtEightOrFewerValuesAndTakesSuchACandidateAtOnce) {
  Bytes stripes;
  for (int i = 0; i < 40; ++i) stripes.push_back(static_cast<std::uint8_t>(i % 2 ? 200 : 3));
  EXPECT_EQ(ChosenFilter(stripes, kFilterAdaptive, 24), 0);

  Bytes ramp;
  for (int v = 0; v < 40; ++v) ramp.push_back(static_cast<std::uint8_t>(v * 3));
  EXPECT_EQ(ChosenFilter(ramp, kFilterAdaptive, 24), 1);  // Sub: a run of 3s, -1, taken at once
}

TEST(QelZLIB, FixedFilterModesUseTheLowByte) {
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterNone, 24), 0);
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterSub, 24), 1);
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterUp, 24), 2);
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterAverage, 24), 3);
  EXPECT_EQ(ChosenFilter(kContestedRow, kFilterPaeth, 24), 4);
  EXPECT_EQ(ChosenFilter(kContestedRow, 6, 24), 0);
  EXPECT_EQ(ChosenFilter(kContestedRow, 255, 24), 0);
  EXPECT_EQ(ChosenFilter(kContestedRow, 0x102, 24), 1);
  EXPECT_EQ(ChosenFilter(kContestedRow, 0x100, 24), 4);  // low byte 0: adaptive
}

TEST(QelZLIB, EveryFilterIsUndoneExactly) {
  std::mt19937 random(3);
  for (std::int32_t bits : {1, 2, 8, 16, 24, 32, 40, 48, 64}) {
    const std::int32_t length = 1 + 37;
    Bytes above(length), raw(length - 1), abovePlain(length - 1);
    for (auto& b : abovePlain) b = static_cast<std::uint8_t>(random() % 7 * 40);
    for (auto& b : raw) b = static_cast<std::uint8_t>(random());
    std::copy(abovePlain.begin(), abovePlain.end(), above.begin() + 1);
    for (int type = 0; type <= 4; ++type) {
      Bytes filtered(length);
      ZFilterRow(type, raw.data(), abovePlain.data(), filtered.data(), length, bits < 8 ? 1 : bits / 8);
      ZRowStream rows;
      rows.CurrentRow = filtered.data();
      rows.PreviousRow = above.data();
      rows.RowLength = length;
      rows.BitsPerPixel = bits;
      ASSERT_EQ(ZUnfilterRow(rows), 0);
      EXPECT_EQ(Bytes(filtered.begin() + 1, filtered.end()), raw) << "bits " << bits << " type " << type;
    }
  }
  Bytes bad = {5, 1, 2, 3};
  Bytes zero(4);
  ZRowStream rows;
  rows.CurrentRow = bad.data();
  rows.PreviousRow = zero.data();
  rows.RowLength = 4;
  EXPECT_EQ(ZUnfilterRow(rows), -1);
  EXPECT_EQ(bad, (Bytes{5, 1, 2, 3}));
}

TEST(QelZLIB, ChunkBufferSizesOutOfRangeBecome32768) {
  ZRowStream rows;
  for (std::int32_t size : {0, -5, 262144, 1000000}) {
    ASSERT_EQ(ZDeflateOpen(rows, -1, size), 0);
    EXPECT_EQ(rows.ChunkBufferSize, 32768) << size;
  }
  ASSERT_EQ(ZDeflateOpen(rows, -1, 262143), 0);
  EXPECT_EQ(rows.ChunkBufferSize, 262143);
  ASSERT_EQ(ZDeflateOpen(rows, 9, 1), 0);
  EXPECT_EQ(rows.ChunkBufferSize, 1);
  ZDeflateClose(rows);
  EXPECT_EQ(rows.ChunkBuffer, nullptr);
  EXPECT_EQ(ZDeflateOpen(rows, 12, 100), -1);  // zlib refuses the level
}

// Rows through the deflate side in small chunks and back through the inflate side.
TEST(QelZLIB, RowsSurviveDeflateAndInflateInChunks) {
  std::mt19937 random(9);
  const std::int32_t width = 50, height = 20;
  std::vector<Bytes> image(height, Bytes(width));
  for (auto& row : image) {
    for (auto& b : row) b = static_cast<std::uint8_t>(random() % 16 * 16);
  }

  std::vector<Bytes> pieces;
  ZRowStream out;
  out.Callback = [&](ZRowStream& rows) {
    pieces.emplace_back(rows.ChunkBuffer, rows.ChunkBuffer + rows.ChunkFilled());
    return 0;
  };
  RowBuffers buffers(width + 1);
  buffers.Attach(out);
  ASSERT_EQ(ZDeflateOpen(out, 6, 100), 0);
  out.RowLength = width + 1;
  out.FilterMode = kFilterAdaptive;
  for (const Bytes& row : image) {
    std::copy(row.begin(), row.end(), out.CurrentRow);
    ASSERT_EQ(ZDeflateRow(out), 0);
    std::swap(out.CurrentRow, out.PreviousRow);
  }
  ASSERT_EQ(ZDeflateFinish(out), 0);
  ZDeflateClose(out);
  ASSERT_GE(pieces.size(), 2u);
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) EXPECT_EQ(pieces[i].size(), 100u);
  EXPECT_LE(pieces.back().size(), 100u);

  std::size_t next = 0;
  ZRowStream in;
  in.Callback = [&](ZRowStream& rows) {
    if (next == pieces.size()) return -7;
    std::copy(pieces[next].begin(), pieces[next].end(), rows.ChunkBuffer);
    rows.ZSetInput(static_cast<std::int32_t>(pieces[next++].size()));
    return 0;
  };
  Bytes current(width + 1), previous(width + 1);
  in.CurrentRow = current.data();
  in.PreviousRow = previous.data();
  in.RowLength = width + 1;
  ASSERT_EQ(ZInflateOpen(in), 0);
  for (const Bytes& row : image) {
    ASSERT_EQ(ZInflateRow(in), 0);
    EXPECT_EQ(Bytes(in.CurrentRow + 1, in.CurrentRow + 1 + width), row);
    std::swap(in.CurrentRow, in.PreviousRow);
  }

  // All data at once: asking for one byte more than the rows hold meets the end.
  Bytes all;
  for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  bool served = false;
  in.Callback = [&](ZRowStream& rows) {
    if (served) return -7;
    served = true;
    std::copy(all.begin(), all.end(), rows.ChunkBuffer);
    rows.ZSetInput(static_cast<std::int32_t>(all.size()));
    return 0;
  };
  ZInflateReset(in);
  Bytes everything(static_cast<std::size_t>((width + 1) * height + 1));
  EXPECT_EQ(ZInflateRead(in, everything.data(), static_cast<std::int32_t>(everything.size())), -1);

  // Without the last piece the callback's own result comes back.
  served = false;
  all.resize(all.size() - pieces.back().size());
  ZInflateReset(in);
  EXPECT_EQ(ZInflateRead(in, everything.data(), static_cast<std::int32_t>(everything.size()) - 1), -7);
  ZInflateClose(in);
}

// What reading `rows` rows of `rowLength` bytes from `pieces` gives: the
// rows that came out, the result of the first read that failed (-7 when the
// pieces ran out) and how many pieces were asked for.
struct RowRun {
  Bytes rows;
  std::int32_t failure = 0;
  std::size_t piecesTaken = 0;
  bool operator==(const RowRun&) const = default;
};

RowRun ReadRows(const std::vector<Bytes>& pieces, std::int32_t rowLength, int rows) {
  RowRun run;
  ZRowStream in;
  in.Callback = [&](ZRowStream& stream) {
    if (run.piecesTaken == pieces.size()) return -7;
    const Bytes& piece = pieces[run.piecesTaken++];
    std::copy(piece.begin(), piece.end(), stream.ChunkBuffer);
    stream.ZSetInput(static_cast<std::int32_t>(piece.size()));
    return 0;
  };
  EXPECT_EQ(ZInflateOpen(in), 0);
  Bytes row(static_cast<std::size_t>(rowLength));
  for (int i = 0; i < rows && run.failure == 0; ++i) {
    run.failure = ZInflateRead(in, row.data(), rowLength);
    if (run.failure == 0) run.rows.insert(run.rows.end(), row.begin(), row.end());
  }
  return run;
}

// The same read as the reader did it before it inflated ahead: each row
// inflated on its own, input asked for whenever it was used up.
RowRun ReadRowByRow(const std::vector<Bytes>& pieces, std::int32_t rowLength, int rows) {
  RowRun run;
  z_stream z{};
  inflateInit(&z);
  Bytes row(static_cast<std::size_t>(rowLength));
  for (int i = 0; i < rows && run.failure == 0; ++i) {
    z.next_out = row.data(), z.avail_out = static_cast<uInt>(rowLength);
    while (z.avail_out > 0 && run.failure == 0) {
      if (z.avail_in == 0 && run.piecesTaken == pieces.size()) {
        run.failure = -7;
        break;
      }
      if (z.avail_in == 0) {
        const Bytes& piece = pieces[run.piecesTaken++];
        z.next_in = const_cast<Bytef*>(piece.data()), z.avail_in = static_cast<uInt>(piece.size());
      }
      int result = inflate(&z, Z_NO_FLUSH);
      if (result < 0) run.failure = result;
      if (result == Z_NEED_DICT || (result == Z_STREAM_END && z.avail_out > 0)) run.failure = -1;
    }
    if (run.failure == 0) run.rows.insert(run.rows.end(), row.begin(), row.end());
  }
  inflateEnd(&z);
  return run;
}

// `data` in pieces of `size` bytes.
std::vector<Bytes> Pieces(const Bytes& data, std::size_t size) {
  std::vector<Bytes> pieces;
  for (std::size_t i = 0; i < data.size(); i += size) {
    const std::size_t end = std::min(i + size, data.size());
    pieces.emplace_back(data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(end));
  }
  return pieces;
}

// The zlib stream of `raw` compressed against `dictionary`, with the header
// no longer saying so: its copies from the dictionary reach back before the data.
Bytes CompressedAgainstMissingDictionary(const Bytes& raw, const Bytes& dictionary) {
  z_stream z{};
  Bytes out(raw.size() + 64);
  EXPECT_EQ(deflateInit(&z, 9), Z_OK);
  deflateSetDictionary(&z, dictionary.data(), static_cast<uInt>(dictionary.size()));
  z.next_in = const_cast<Bytef*>(raw.data()), z.avail_in = static_cast<uInt>(raw.size());
  z.next_out = out.data(), z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  out.erase(out.begin() + 2, out.begin() + 6);  // the dictionary's id
  const int flags = out[1] & 0xC0;              // without the dictionary flag and the check bits
  out[1] = static_cast<std::uint8_t>(flags + 31 - (out[0] * 256 + flags) % 31);
  return out;
}

// The inflater runs ahead of the rows asked for, yet gives the same rows,
// fails at the same row with the same result and asks for the same input as
// inflating one row after the other, on whole, cut and broken streams in
// pieces down to single bytes.
TEST(QelZLIB, ReadingAheadGivesWhatReadingRowByRowGives) {
  struct Stream {
    Bytes data;
    std::int32_t rowLength;
    int rows;
  };
  std::vector<Stream> streams;
  std::mt19937 random(11);
  // Twenty rows of 17 bytes whose runs of zeros zlib copies across row ends,
  // so that input can run dry at the start of a row zlib could still
  // complete: every cut and every flipped bit.
  Bytes shortRows(17 * 20);
  for (std::size_t i = 0; i < shortRows.size(); ++i) {
    shortRows[i] = static_cast<std::uint8_t>(i % 150 < 90 ? 0 : random());
  }
  const Bytes data = test::Compress(shortRows);
  for (std::size_t at = 0; at < data.size(); ++at) {
    streams.push_back({Bytes(data.begin(), data.begin() + static_cast<long>(at)), 17, 20});
    for (int bit = 0; bit < 8; ++bit) {
      streams.push_back({data, 17, 20});
      streams.back().data[at] ^= static_cast<std::uint8_t>(1 << bit);
    }
  }
  // Twelve rows of 3001 bytes, which straddle the 32 KiB block ahead: whole,
  // cut, and with a bad checksum.
  Bytes longRows(3001 * 12);
  for (std::size_t i = 0; i < longRows.size(); ++i) {
    longRows[i] = static_cast<std::uint8_t>(i % 97 < 60 ? i % 7 : random());
  }
  const Bytes longData = test::Compress(longRows);
  EXPECT_EQ(ReadRows(Pieces(longData, 1000), 3001, 12).rows, longRows);
  streams.push_back({longData, 3001, 12});
  streams.push_back({Bytes(longData.begin(), longData.begin() + static_cast<long>(longData.size() / 2)), 3001, 12});
  streams.push_back({longData, 3001, 12});
  streams.back().data.back() ^= 1;
  // Two rows of 17 bytes, the second copied from a dictionary the stream
  // lacks. zlib finds such a copy only once it has room to copy, so the
  // first row is good. (deflate writes the dictionary's first byte as it is,
  // so the dictionary starts with the first row's last byte.)
  Bytes twoRows(34);
  for (auto& b : twoRows) b = static_cast<std::uint8_t>(random());
  const Bytes farBack = CompressedAgainstMissingDictionary(twoRows, Bytes(twoRows.begin() + 16, twoRows.end()));
  const RowRun byRow = ReadRowByRow({farBack}, 17, 2);
  ASSERT_TRUE(byRow.rows == Bytes(twoRows.begin(), twoRows.begin() + 17) && byRow.failure == Z_DATA_ERROR);
  streams.push_back({farBack, 17, 2});

  for (std::size_t s = 0; s < streams.size(); ++s) {
    for (std::size_t size : {1, 5, 1000}) {
      const std::vector<Bytes> pieces = Pieces(streams[s].data, size);
      ASSERT_EQ(ReadRows(pieces, streams[s].rowLength, streams[s].rows),
                ReadRowByRow(pieces, streams[s].rowLength, streams[s].rows))
          << "stream " << s << " in pieces of " << size;
    }
  }
}

TEST(QelZLIB, CorruptInputIsAnErrorNotAHang) {
  Bytes garbage = {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x12};
  bool given = false;
  ZRowStream in;
  in.Callback = [&](ZRowStream& rows) {
    if (given) return -1;
    given = true;
    std::copy(garbage.begin(), garbage.end(), rows.ChunkBuffer);
    rows.ZSetInput(static_cast<std::int32_t>(garbage.size()));
    return 0;
  };
  ASSERT_EQ(ZInflateOpen(in), 0);
  Bytes row(64);
  EXPECT_LT(ZInflateRead(in, row.data(), 64), 0);
}

}  // namespace
}  // namespace quorvex
