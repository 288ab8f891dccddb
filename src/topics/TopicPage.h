#pragma once
// What the converter of one topic file keeps while it builds the page: the
// scanner's state, the colour table and the popups that live in the page.

#include "base/StringList.h"
#include "job/ConversionJob.h"
#include "topics/ColorTable.h"
#include "topics/TopicScanState.h"

namespace quorvex {

struct TopicPage {
  explicit TopicPage(ConversionJob& job, ByteString source = ByteString()) : Job(job), Source(std::move(source)) {}

  ConversionJob& Job;
  ByteString Source;       ///< the topic file, for warnings
  TopicScanState Scan;     ///< carried from line to line
  ColorTable Colors;       ///< from the file's header
  StringList PopupLines;   ///< popup script lines of this page when popups are not combined; line k is popup k + 1
  int MapNumber = 1;       ///< number of the next image map on the page
};

}  // namespace quorvex
