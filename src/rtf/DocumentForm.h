#pragma once
// Which reader a topic file is for: the document reader, or the topic
// converter that reads one topic line by line as a plain editor writes it.

#include <string_view>

namespace quorvex {

/// True for a topic file the document reader reads: it holds "\page", a
/// style sheet or formatted text in groups, or it is written in a code page
/// other than Japanese (`projectCodePage`, 0 when the project says none, or
/// its own \ansicpg without a Japanese font). Other files are one Japanese
/// topic laid out line by line.
bool IsDocumentForm(std::string_view data, int projectCodePage = 0);

}  // namespace quorvex
