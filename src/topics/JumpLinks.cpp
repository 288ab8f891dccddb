#include "topics/JumpLinks.h"

#include "project/TopicLinks.h"

namespace quorvex {

ByteString AddJumpLink(ConversionJob& job, std::string_view topic) {
  TopicLink link = ResolveTopic(job, topic);
  if (link.Chm.empty() && job.JumpPages.IndexOf(link.Page) < 0) job.JumpPages.Add(link.Page);
  return link.Href();
}

}  // namespace quorvex
