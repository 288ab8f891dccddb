#include "topics/JumpLinks.h"

#include "project/NameMap.h"

namespace quorvex {

ByteString AddJumpLink(ConversionJob& job, std::string_view topic) {
  ByteString page = PageName(job, topic);
  if (job.JumpPages.IndexOf(page) < 0) job.JumpPages.Add(page);
  return page;
}

}  // namespace quorvex
