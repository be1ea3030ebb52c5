#include "server/WorldPage.h"

#include <algorithm>

#include "scores/NameText.h"

namespace {
std::string Trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// "yyyymmdd" as "dd.mm.yyyy", the way the game shows dates.
std::string ShownDate(const std::string& d) {
    std::string t = Trimmed(d);
    if (t.size() != 8) return t;
    return t.substr(6, 2) + "." + t.substr(4, 2) + "." + t.substr(0, 4);
}

const char* const PageHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Dorvik world scores</title>
<style>
body { font-family: sans-serif; margin: 0 auto; padding: 0.5em; max-width: 48em; color: #000080; }
h1 { font-size: 1.4em; }
.table { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.3em 0.5em; border-bottom: 1px solid #ccd; text-align: left; white-space: nowrap; }
td.num, th.num { text-align: right; }
td.name { white-space: normal; overflow-wrap: anywhere; }
td.verified { color: #008000; }
@media (max-width: 30em) { body { font-size: 0.9em; } th, td { padding: 0.25em; } }
</style>
</head>
<body>
<h1>Dorvik world scores</h1>
)";
}  // namespace

std::string HtmlEscape(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string WorldPageHtml(const WorldTable& table, const std::vector<bool>& verified) {
    // The mark column shows once the server replays games (some record is marked).
    const bool marks = std::find(verified.begin(), verified.end(), true) != verified.end();
    std::string out = PageHead;
    out += "<p id=\"update\">Last update: " + HtmlEscape(AnsiToUtf8(table.LastUpdate)) +
           " &middot; Uploads by all users: " + std::to_string(table.Uploads) + "</p>\n";
    out +=
        "<div class=\"table\"><table id=\"scores\">\n<thead><tr><th class=\"num\">#</th><th class=\"num\">Score</th>"
        "<th>Name</th><th class=\"num\">Kills</th><th class=\"num\">Time</th><th>Date</th>";
    if (marks) out += "<th title=\"Replayed by the server from the game's recording\">&#10003;</th>";
    out += "</tr></thead>\n<tbody>\n";
    int rank = 0;
    for (const ScoreRecord& r : table.Records) {
        const bool marked = static_cast<size_t>(rank) < verified.size() && verified[rank];
        auto cell = [](const char* cls, const std::string& ansi) {
            return std::string("<td class=\"") + cls + "\">" + HtmlEscape(AnsiToUtf8(Trimmed(ansi))) + "</td>";
        };
        out += "<tr>" + cell("num", std::to_string(++rank)) + cell("num", r.Score) + cell("name", r.Name) +
               cell("num", r.Kills) + cell("num", r.Time) + cell("date", ShownDate(r.Date));
        if (marks) out += marked ? "<td class=\"verified\" title=\"verified\">&#10003;</td>" : "<td></td>";
        out += "</tr>\n";
    }
    if (table.Records.empty()) out += "<tr><td colspan=\"6\">No scores yet.</td></tr>\n";
    out += "</tbody>\n</table></div>\n</body>\n</html>\n";
    return out;
}
