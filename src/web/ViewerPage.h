#pragma once
// The viewer's index.html in the help's language.

#include <string>
#include <string_view>

#include "web/ViewerWords.h"

namespace quorvex {

/// Fills the viewer page's template (src/web/assets/index.html): "{{key}}"
/// becomes the language's word of that key, "{{lang}}" its tag, "{{title}}"
/// the help's title (UTF-8), each as HTML text; "{{words}}" becomes every
/// word as a JSON object for the scripts. A name that is none of these stays
/// as written.
std::string ViewerPageFor(std::string_view pageTemplate, const ViewerLanguage& language, std::string_view title);

}  // namespace quorvex
