// The world table as a web page, "default.htm": plain HTML5 that reads well
// on a phone. Only the standard library.
#pragma once

#include <string>
#include <vector>

#include "worldscores/WorldFile.h"

// Text made safe for an HTML element or attribute.
std::string HtmlEscape(const std::string& utf8);
// verified[i] marks record i as replayed by the server (a "✓" column).
std::string WorldPageHtml(const WorldTable& table, const std::vector<bool>& verified = {});
