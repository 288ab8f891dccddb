#include "project/TopicLinks.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/ContextHash.h"

namespace quorvex {
namespace {

// Links into a compiled help of the run find its topics by hash: names it
// could not recover, and "hash_XXXXXXXX" written by another compiled help.
TEST(TopicLinks, LinksIntoACompiledHelpFindTopicsByHash) {
  ConversionJob other;
  other.HelpFileName = "b.hlp";
  other.Topics.Add("topic_3", {"topic_3.html", ""});
  other.HashedContexts.emplace(ContextHash("IDH_REAL_NAME"), "topic_3");
  ConversionJob job;
  job.HelpFileName = "a.hlp";
  job.OtherHelps.push_back({"B.HLP", "b.chm", "b", &other});

  char hashName[32];
  std::snprintf(hashName, sizeof hashName, "hash_%X@b.hlp", static_cast<unsigned>(ContextHash("idh_real_name")));
  for (const std::string& context : std::vector<std::string>{"IDH_REAL_NAME@b.hlp", "idh_real_name@B.hlp", hashName}) {
    TopicLink link = ResolveTopic(job, context);
    EXPECT_EQ(link.Href(), "ms-its:b.chm::/html/topic_3.html") << context;
    EXPECT_EQ(OtherHelpProblem(link), "") << context;
  }
  TopicLink unknown = ResolveTopic(job, "nothing@b.hlp");
  EXPECT_EQ(OtherHelpProblem(unknown), "names no topic of b.chm");
  EXPECT_EQ(OtherHelpProblem(ResolveTopic(job, "x@c.hlp")), "leads into c.chm, a help this run does not convert");
}

}  // namespace
}  // namespace quorvex
