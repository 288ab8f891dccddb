#pragma once
// The pictures of the tool bar, drawn in code: exit, convert and version,
// 16 x 16 each, in two sets.

#include <vector>

#include <QPixmap>

namespace quorvex {

/// Three 16 x 16 pictures: 0 exit, 1 convert, 2 version.
using ImageList = std::vector<QPixmap>;

/// ImageList1: the classic set, sixteen colours and hard edges, for displays
/// that cannot blend.
ImageList ClassicImages();

/// ImageList2: the smooth set, full colour with soft (alpha-blended) edges.
ImageList SmoothImages();

/// True when the tool bar should use ImageList2: the display shows true
/// colour (24 bits per pixel or more), where blended edges look as intended.
bool UsesSmoothImages(int screenDepth);

}  // namespace quorvex
