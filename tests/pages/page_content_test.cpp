#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "pages/core/help_texts.h"
#include "pages/core/link_table.h"

namespace kobrix {
namespace {

TEST(PageContent, EveryAddressIsAWebAddressAndEveryHelpLinkNamesAWindow) {
    std::set<std::string_view> titles;
    for (const LinkPageContent& page : LinkPages()) {
        EXPECT_EQ(&LinkPage(page.id), &page);
        titles.insert(page.title);
        int links = 0;
        for (const LinkGroup& group : page.groups) {
            for (const WebLink& link : group.links) {
                ++links;
                const std::string address(link.address);
                EXPECT_TRUE(address.rfind("https://", 0) == 0 || address.rfind("http://", 0) == 0)
                    << page.title << ": " << address;
                EXPECT_EQ(address.find_first_of(" \"<>"), std::string::npos) << address;
                EXPECT_FALSE(link.caption.empty()) << address;
            }
        }
        EXPECT_GT(links, 0) << page.title;
    }
    EXPECT_EQ(titles, (std::set<std::string_view>{"Web Links", "Martian Software Web Links",
                                                  "Martian and Mars Websites", "Solar System",
                                                  "Meteorites", "Amateur Radio", "Participate"}));

    const auto& keys = HelpLinkKeys();
    const std::regex anchor("href=\"show:([a-z]+)\"");
    for (const HelpPageContent& page : HelpPages()) {
        EXPECT_EQ(&HelpPage(page.id), &page);
        const std::string html(page.html);
        int shown = 0;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), anchor);
             it != std::sregex_iterator(); ++it, ++shown) {
            const std::string key = (*it)[1];
            EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end())
                << page.title << " links to an unknown window " << key;
        }
        if (page.id == HelpPageId::MenuSelections) {
            EXPECT_GE(shown, 15);
        }
    }
}

}  // namespace
}  // namespace kobrix
