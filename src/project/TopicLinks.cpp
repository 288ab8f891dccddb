#include "project/TopicLinks.h"

#include "project/NameMap.h"

namespace quorvex {

TopicLink ResolveTopic(const ConversionJob& job, std::string_view context) {
  TopicLink link;
  link.Context = job.TopicAliases.Empty() ? ByteString(context) : job.TopicAliases.Resolve(context);
  if (const TopicPlace* place = job.Topics.Find(link.Context)) {
    link.Page = place->Page;
    link.Anchor = place->Anchor;
    link.Indexed = true;
  } else {
    link.Page = PageName(job, link.Context);
  }
  return link;
}

}  // namespace quorvex
