#pragma once

#include <string_view>
#include <vector>

namespace kobrix {

// Every web address the link pages open, in one table so that it can be kept current.
struct WebLink {
    std::string_view caption;
    std::string_view address;  // http or https
};

struct LinkGroup {
    std::string_view heading;  // empty: links without a heading
    std::vector<WebLink> links;
};

enum class LinkPageId {
    Mission,          // "Web Links": the rovers' images and the mission
    MartianSoftware,  // "Martian Software Web Links"
    MarsWebsites,     // "Martian and Mars Websites"
    SolarSystem,      // "Solar System"
    Meteorites,       // "Meteorites"
    AmateurRadio,     // "Amateur Radio"
    Participate,      // "Participate"
};

struct LinkPageContent {
    LinkPageId id;
    std::string_view objectName;  // the window's object name
    std::string_view title;       // the window's caption
    std::string_view introduction;
    std::vector<LinkGroup> groups;
};

// In the order of the menu.
const std::vector<LinkPageContent>& LinkPages();
const LinkPageContent& LinkPage(LinkPageId id);

}  // namespace kobrix
