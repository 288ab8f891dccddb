#include "project/TopicLinks.h"

#include "project/NameMap.h"

namespace quorvex {

ByteString ResolveAlias(const ConversionJob& job, std::string_view context) {
  if (job.TopicAliases.Empty()) return ByteString(context);
  ByteString target = job.TopicAliases.Resolve(context);
  // An alias to no topic does not hide a topic of the alias's own name.
  if (target != context && !job.Topics.Find(target) && job.Topics.Find(context)) {
    job.WarnOnce(ByteString(context), "[ALIAS] sends it to " + target + ", which is no topic; its own topic is used");
    return ByteString(context);
  }
  return target;
}

TopicLink ResolveTopic(const ConversionJob& job, std::string_view context) {
  TopicLink link;
  link.Context = ResolveAlias(job, context);
  if (const TopicPlace* place = job.Topics.Find(link.Context)) {
    link.Page = place->Page;
    link.Anchor = place->Anchor;
    link.Indexed = true;
    return link;
  }
  // "context@file.hlp" naming this project's own help file is the context.
  std::size_t at = link.Context.find('@');
  if (at != ByteString::npos && at > 0 && !job.HelpFileName.empty() &&
      SameText(ExtractFileName(link.Context.substr(at + 1)), job.HelpFileName)) {
    return ResolveTopic(job, link.Context.substr(0, at));
  }
  link.Page = PageName(job, link.Context);
  return link;
}

}  // namespace quorvex
