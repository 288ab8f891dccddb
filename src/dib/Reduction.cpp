#include "dib/Reduction.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "dib/PixelRows.h"

namespace quorvex {

namespace {

// A colour standing for `Weight` pixels; `Key` says where it came from (a
// histogram cell or an old palette index).
struct WeightedColor {
  std::uint8_t Red, Green, Blue;
  std::uint32_t Weight;
  std::uint32_t Key;
};

// One pixel's colour: the high-quality method keeps every pixel, so the
// item stays at 3 bytes.
struct PixelColor {
  std::uint8_t Red, Green, Blue;
};

std::uint64_t WeightOf(const WeightedColor& item) { return item.Weight; }
std::uint64_t WeightOf(const PixelColor&) { return 1; }

template <class Item>
std::uint32_t ChannelOf(const Item& item, int channel) {
  return channel == 0 ? item.Red : channel == 1 ? item.Green : item.Blue;
}

// sum / weight rounded to the nearest integer, halves to even.
std::uint8_t RoundedMean(std::uint64_t sum, std::uint64_t weight) {
  std::uint64_t q = sum / weight;
  const std::uint64_t twiceRest = 2 * (sum % weight);
  if (twiceRest > weight || (twiceRest == weight && q % 2 == 1)) ++q;
  return static_cast<std::uint8_t>(q);
}

constexpr int kRed = 0, kGreen = 1, kBlue = 2, kLeaf = 3;

// A node of the partition. An inner node sends a colour whose channel value
// v satisfies v <= Sum / Weight (v * Weight <= Sum, exact) to Lower.
struct SplitNode {
  int Channel = kLeaf;
  std::uint64_t Sum = 0;
  std::uint64_t Weight = 0;
  int Lower = -1;
  int Upper = -1;
  int PaletteIndex = -1;  // leaves with colours only
};

template <class Item>
class Partition {
 public:
  // `onLeafItem` learns the palette index of every item.
  using LeafCallback = std::function<void(const Item&, int)>;

  Partition(int depth, const ProgressStep& step, LeafCallback onLeafItem = nullptr)
      : depth_(depth), step_(step), onLeafItem_(std::move(onLeafItem)) {}

  void Run(std::span<Item> items) { root_ = Split(items, 0); }
  const std::vector<RgbQuad>& Palette() const { return palette_; }

  // The palette index of a colour, found by walking the splits.
  int Find(const std::array<std::uint32_t, 3>& color) const {
    int n = root_;
    for (;;) {
      const SplitNode& node = nodes_[n];
      switch (node.Channel) {
        case kRed:
        case kGreen:
        case kBlue: n = color[node.Channel] * node.Weight <= node.Sum ? node.Lower : node.Upper; break;
        case kLeaf:
          QV_ASSERT(node.PaletteIndex >= 0, "ConvertTrueColorTo8BitRGBHigh: Invalid DivideID");
          return node.PaletteIndex;
        default: QV_ASSERT(false, "ConvertTrueColorTo8BitRGBHigh: Invalid DivideID");
      }
    }
  }

 private:
  int Split(std::span<Item> items, int depth) {
    const int node = static_cast<int>(nodes_.size());
    nodes_.emplace_back();
    std::uint64_t weight = 0;
    std::array<std::uint64_t, 3> sum{}, squares{};
    for (const Item& item : items) {
      const std::uint64_t w = WeightOf(item);
      weight += w;
      for (int c = 0; c < 3; ++c) {
        const std::uint64_t v = ChannelOf(item, c);
        sum[c] += w * v;
        squares[c] += w * v * v;
      }
    }
    if (depth == depth_) {
      if (!items.empty()) MakeLeaf(node, items, weight, sum);
      if (step_) step_();
      return node;
    }
    // weight^2 x variance, exact: the channel choice must not hinge on rounding.
    std::array<__int128, 3> spread{};
    for (int c = 0; c < 3; ++c) {
      spread[c] = static_cast<__int128>(weight) * squares[c] - static_cast<__int128>(sum[c]) * sum[c];
    }
    const int channel = WidestChannel(spread);
    auto lowerEnd = std::partition(items.begin(), items.end(), [&](const Item& item) {
      return ChannelOf(item, channel) * weight <= sum[channel];
    });
    const auto lowerCount = static_cast<std::size_t>(lowerEnd - items.begin());
    nodes_[node].Channel = channel;
    nodes_[node].Sum = sum[channel];
    nodes_[node].Weight = weight;
    const int upper = Split(items.subspan(lowerCount), depth + 1);
    const int lower = Split(items.first(lowerCount), depth + 1);
    nodes_[node].Upper = upper;
    nodes_[node].Lower = lower;
    return node;
  }

  // The eye weighs the channels red 3, green 4, blue 2.
  static int WidestChannel(const std::array<__int128, 3>& spread) {
    const __int128 red = 3 * spread[kRed], green = 4 * spread[kGreen], blue = 2 * spread[kBlue];
    if (!(green > red) && !(blue > red)) return kRed;
    if (red > green || blue > green) return kBlue;
    return kGreen;
  }

  void MakeLeaf(int node, std::span<Item> items, std::uint64_t weight, const std::array<std::uint64_t, 3>& sum) {
    const int index = static_cast<int>(palette_.size());
    palette_.push_back(Quad(RoundedMean(sum[kRed], weight), RoundedMean(sum[kGreen], weight),
                            RoundedMean(sum[kBlue], weight)));
    nodes_[node].PaletteIndex = index;
    if (onLeafItem_) {
      for (const Item& item : items) onLeafItem_(item, index);
    }
  }

  int depth_;
  const ProgressStep& step_;
  LeafCallback onLeafItem_;
  std::vector<SplitNode> nodes_;
  std::vector<RgbQuad> palette_;
  int root_ = 0;
};

// The reduced record: the leaves' colours make the whole colour table.
DibRecord ReducedRecord(const DibRecord& source, int bitCount, const std::vector<RgbQuad>& palette, bool useMapping) {
  DibRecord result = ConvertedRecord(source, bitCount, useMapping);
  result.Colors.fill(RgbQuad{});
  std::copy(palette.begin(), palette.end(), result.Colors.begin());
  result.Header.ClrUsed = static_cast<std::uint32_t>(palette.size());
  return result;
}

std::uint32_t CellOf(const std::uint8_t* bgr) { return (bgr[2] >> 3) * 2048u + (bgr[1] >> 2) * 32u + (bgr[0] >> 3); }

DibRecord ReduceLow(const DibRecord& source, int bitCount, const char* message, bool useMapping,
                    const ProgressStep& step) {
  RequireSource(source, 24, kCompressionNone, message);
  struct Cell {
    std::uint32_t Count = 0, Red = 0, Green = 0, Blue = 0;
  };
  std::vector<Cell> cells(65536);
  const std::int64_t rowBytes = source.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* row = source.Bits.Data() + y * rowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) {
      const std::uint8_t* p = row + 3 * x;
      Cell& cell = cells[CellOf(p)];
      ++cell.Count;
      cell.Red += p[2] & 7;
      cell.Green += p[1] & 3;
      cell.Blue += p[0] & 7;
    }
  }
  std::vector<WeightedColor> items;
  for (std::uint32_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    if (cell.Count == 0) continue;
    items.push_back({static_cast<std::uint8_t>((i >> 11) * 8 + cell.Red / cell.Count),
                     static_cast<std::uint8_t>(((i >> 5) & 63) * 4 + cell.Green / cell.Count),
                     static_cast<std::uint8_t>((i & 31) * 8 + cell.Blue / cell.Count), cell.Count, i});
  }
  std::vector<std::uint8_t> cellIndex(65536);
  Partition<WeightedColor> partition(bitCount == 8 ? 8 : 4, step, [&](const WeightedColor& item, int index) {
    cellIndex[item.Key] = static_cast<std::uint8_t>(index);
  });
  partition.Run(items);

  DibRecord result = ReducedRecord(source, bitCount, partition.Palette(), useMapping);
  const std::int64_t targetRowBytes = result.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* in = source.Bits.Data() + y * rowBytes;
    std::uint8_t* out = result.Bits.Data() + y * targetRowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) SetIndexAt(out, bitCount, x, cellIndex[CellOf(in + 3 * x)]);
  }
  return result;
}

DibRecord ReduceHigh(const DibRecord& source, int bitCount, const char* message, bool useMapping,
                     const ProgressStep& step) {
  RequireSource(source, 24, kCompressionNone, message);
  const std::int64_t rowBytes = source.RowBytes();
  std::vector<PixelColor> items;
  items.reserve(static_cast<std::size_t>(source.Header.Width * source.Rows()));
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* row = source.Bits.Data() + y * rowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) items.push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  Partition<PixelColor> partition(bitCount == 8 ? 8 : 4, step);
  partition.Run(items);
  items = {};

  DibRecord result = ReducedRecord(source, bitCount, partition.Palette(), useMapping);
  const std::int64_t targetRowBytes = result.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* in = source.Bits.Data() + y * rowBytes;
    std::uint8_t* out = result.Bits.Data() + y * targetRowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) {
      const std::uint8_t* p = in + 3 * x;
      SetIndexAt(out, bitCount, x, static_cast<std::uint8_t>(partition.Find({p[2], p[1], p[0]})));
    }
  }
  return result;
}

}  // namespace

DibRecord ConvertTrueColorTo8BitRGBLow(const DibRecord& source, bool useMapping, const ProgressStep& step) {
  return ReduceLow(source, 8, "ConvertTrueColorTo8BitRGBLow: Invalid Bitcount", useMapping, step);
}

DibRecord ConvertTrueColorTo4BitRGBLow(const DibRecord& source, bool useMapping, const ProgressStep& step) {
  return ReduceLow(source, 4, "ConvertTrueColorTo4BitRGBLow: Invalid Bitcount", useMapping, step);
}

DibRecord ConvertTrueColorTo8BitRGBHigh(const DibRecord& source, bool useMapping, const ProgressStep& step) {
  return ReduceHigh(source, 8, "ConvertTrueColorTo8BitRGBHigh: Invalid Bitcount", useMapping, step);
}

DibRecord ConvertTrueColorTo4BitRGBHigh(const DibRecord& source, bool useMapping, const ProgressStep& step) {
  return ReduceHigh(source, 4, "ConvertTrueColorTo4BitRGBHigh: Invalid Bitcount", useMapping, step);
}

DibRecord Convert8BitRGBTo4BitRGB(const DibRecord& source, bool useMapping, const ProgressStep& step) {
  RequireSource(source, 8, kCompressionNone, "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression");
  const std::int64_t rowBytes = source.RowBytes();
  std::array<std::uint32_t, 256> counts{};
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* row = source.Bits.Data() + y * rowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) ++counts[row[x]];
  }
  std::vector<WeightedColor> items;
  for (std::uint32_t i = 0; i < counts.size(); ++i) {
    if (counts[i] == 0) continue;
    const RgbQuad& q = source.Colors[i];
    items.push_back({q.Red, q.Green, q.Blue, counts[i], i});
  }
  std::array<std::uint8_t, 256> newIndex{};
  Partition<WeightedColor> partition(4, step, [&](const WeightedColor& item, int index) {
    newIndex[item.Key] = static_cast<std::uint8_t>(index);
  });
  partition.Run(items);

  DibRecord result = ReducedRecord(source, 4, partition.Palette(), useMapping);
  const std::int64_t targetRowBytes = result.RowBytes();
  for (std::int64_t y = 0; y < source.Rows(); ++y) {
    const std::uint8_t* in = source.Bits.Data() + y * rowBytes;
    std::uint8_t* out = result.Bits.Data() + y * targetRowBytes;
    for (std::int64_t x = 0; x < source.Header.Width; ++x) SetIndexAt(out, 4, x, newIndex[in[x]]);
  }
  return result;
}

}  // namespace quorvex
