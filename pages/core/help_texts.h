#pragma once

#include <string_view>
#include <vector>

namespace kobrix {

// The windows a help page can show. In a help text a link is written as an HTML anchor whose
// href is "show:" followed by the key, e.g. <a href="show:stereo">stereo viewer</a>.
// Keys: stereo, colour, large, fullsize, manualstereo, martiantime, earthtime, calendar,
// datadecoding, traversemaps, helphub, dedication, birthday, solsearch, weblinks, colourhelp,
// anaglyphhelp, anaglyph, slideshowdelay (stops the slideshow first), screenresolution (a
// message box), avitool, magnifier, clipboard, tagging, language, sunset, directories.
enum class HelpPageId { MenuSelections, ColourComposite, Anaglyph, QuickStart, Usage };

struct HelpPageContent {
    HelpPageId id;
    std::string_view objectName;  // the window's object name
    std::string_view title;       // the window's caption
    std::string_view html;        // the body: paragraphs, headings, lists and links
};

// The five help pages, in the order of the hub's buttons.
const std::vector<HelpPageContent>& HelpPages();
const HelpPageContent& HelpPage(HelpPageId id);

// Every key a "show:" link may name.
const std::vector<std::string_view>& HelpLinkKeys();

}  // namespace kobrix
