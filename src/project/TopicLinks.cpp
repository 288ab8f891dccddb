#include "project/TopicLinks.h"

#include <cstdlib>

#include "base/ContextHash.h"
#include "project/NameMap.h"
#include "project/ProjectReader.h"

namespace quorvex {
namespace {

// A compiled help knows its contexts by hash: a name it could not recover, or
// "hash_XXXXXXXX" from another compiled help, finds its place that way.
ByteString ContextOfHash(const ConversionJob& help, const ByteString& context) {
  if (help.HashedContexts.empty() || help.Topics.Find(context)) return context;
  std::uint32_t hash = ContextHash(context);
  if (StartsWithIgnoreCase(context, "hash_") && context.size() > 5 && context.size() <= 13) {
    char* end = nullptr;
    const ByteString digits = context.substr(5);
    const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
    if (end && *end == '\0') hash = static_cast<std::uint32_t>(value);
  }
  auto found = help.HashedContexts.find(hash);
  return found == help.HashedContexts.end() ? context : found->second;
}

// "ctx" in the help `file` (a .hlp name, maybe with folders) other than this one.
TopicLink ResolveInOtherHelp(const ConversionJob& job, const ByteString& context, const ByteString& file) {
  const ByteString name = ExtractFileName(file);
  for (const OtherHelp& other : job.OtherHelps) {
    if (!SameText(other.HelpFile, name) || !other.Job) continue;
    TopicLink link = ResolveTopic(*other.Job, ContextOfHash(*other.Job, context));
    if (!link.Chm.empty()) break;  // it leads on into a third help: not followed
    link.Chm = other.Chm;
    link.Other = &other;
    return link;
  }
  TopicLink link;
  link.Context = context;
  link.Page = DocumentPageName(job, context);
  link.Chm = LowerCase(ChangeFileExt(name, ".chm"));
  return link;
}

}  // namespace

ByteString TopicLink::Href() const {
  const ByteString page = Anchor.empty() ? Page : Page + "#" + Anchor;
  return Chm.empty() ? page : "ms-its:" + Chm + "::/html/" + page;
}

ByteString TopicLink::LocalHref() const {
  const ByteString page = Anchor.empty() ? Page : Page + "#" + Anchor;
  return Chm.empty() ? "html/" + page : Chm + "::/html/" + page;
}

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
  std::size_t at = link.Context.find('@');
  if (at != ByteString::npos && at > 0) {
    const ByteString topic = Trimmed(link.Context.substr(0, at)), file = Trimmed(link.Context.substr(at + 1));
    // "context@file.hlp" naming this project's own help file is the context.
    if (!job.HelpFileName.empty() && SameText(ExtractFileName(file), job.HelpFileName)) return ResolveTopic(job, topic);
    if (!file.empty() && !topic.empty()) return ResolveInOtherHelp(job, topic, file);
  }
  link.Page = PageName(job, link.Context);
  return link;
}

ByteString OtherHelpProblem(const TopicLink& link) {
  if (link.Chm.empty()) return ByteString();
  if (!link.Other) return "leads into " + link.Chm + ", a help this run does not convert";
  if (link.Indexed) return ByteString();
  // A one-topic file of the other help is named after its topic.
  for (const ByteString& entry : link.Other->Job->ProjectFiles) {
    if (SameText(ChangeFileExt(ExtractFileName(entry), ""), link.Context)) return ByteString();
  }
  return "names no topic of " + link.Chm;
}

}  // namespace quorvex
