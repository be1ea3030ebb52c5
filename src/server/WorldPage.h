// The world table as a web page, "default.htm": plain HTML5 that reads well
// on a phone. Only the standard library.
#pragma once

#include <string>

#include "worldscores/WorldFile.h"

// Text made safe for an HTML element or attribute.
std::string HtmlEscape(const std::string& utf8);
std::string WorldPageHtml(const WorldTable& table);
