#include "pages/core/link_table.h"

namespace kobrix {

// Addresses are organisation home pages or stable sections of them. The rovers' original
// raw-image galleries were retired; their images are now kept by the Planetary Data System.
const std::vector<LinkPageContent>& LinkPages() {
    static const std::vector<LinkPageContent> pages = {
        {
            LinkPageId::Mission,
            "MissionLinksPage",
            "Web Links",
            "Where the raw and calibrated images of Spirit and Opportunity are kept today, and the "
            "pages of the mission itself. NASA's raw-image galleries for the two rovers were "
            "retired; the complete image archive of both is held by the Planetary Data System.",
            {
                {"Raw and calibrated images",
                 {
                     {"Planetary Data System, Imaging Node", "https://pds-imaging.jpl.nasa.gov/"},
                     {"Mars Exploration Rover image volumes (Imaging Node)",
                      "https://pds-imaging.jpl.nasa.gov/volumes/mer.html"},
                     {"Analyst's Notebook for the Mars Exploration Rovers (Geosciences Node)",
                      "https://an.rsl.wustl.edu/mer/"},
                     {"Mars Exploration Rover data sets (Geosciences Node)",
                      "https://pds-geosciences.wustl.edu/missions/mer/"},
                 }},
                {"The mission",
                 {
                     {"Opportunity mission page (NASA Science)",
                      "https://science.nasa.gov/mission/mer-opportunity/"},
                     {"Spirit mission page (NASA Science)",
                      "https://science.nasa.gov/mission/mer-spirit/"},
                     {"Opportunity at the Jet Propulsion Laboratory",
                      "https://www.jpl.nasa.gov/missions/mars-exploration-rover-opportunity-mer"},
                     {"Spirit at the Jet Propulsion Laboratory",
                      "https://www.jpl.nasa.gov/missions/mars-exploration-rover-spirit-mer-spirit"},
                 }},
            },
        },
        {
            LinkPageId::MartianSoftware,
            "MartianSoftwareLinksPage",
            "Martian Software Web Links",
            "Software that helps with the rover images: stitching panoramas, reading the file "
            "names, scientific image processing and viewing the large orbital images of Mars.",
            {
                {"Panorama creation software",
                 {
                     {"Hugin panorama photo stitcher", "https://hugin.sourceforge.io/"},
                     {"Panorama Tools community wiki", "https://wiki.panotools.org/"},
                 }},
                {"Online MER fileneame decoder",
                 {
                     {"File naming of rover camera products (Analyst's Notebook help)",
                      "https://an.rsl.wustl.edu/help/Content/About%20the%20data/Data%20products/"
                      "MER/MER%20Filenames%20OPGS%20Single.htm"},
                     {"Camera archive volumes and their documentation (PDS Imaging)",
                      "https://pds-imaging.jpl.nasa.gov/volumes/mer.html"},
                 }},
                {"NASA Maestro MER software",
                 {
                     {"NASA Mars Trek, maps and 3D views of the rover sites",
                      "https://trek.nasa.gov/mars/"},
                     {"NASA's Eyes on the Solar System", "https://eyes.nasa.gov/"},
                 }},
                {"Scientific image manipulation software",
                 {
                     {"ImageJ", "https://imagej.net/"},
                     {"Fiji (ImageJ with plugins)", "https://fiji.sc/"},
                     {"GIMP, the GNU Image Manipulation Program", "https://www.gimp.org/"},
                     {"ISIS, planetary image processing (USGS)",
                      "https://isis.astrogeology.usgs.gov/"},
                     {"VICAR image processing system (JPL)", "https://github.com/NASA-AMMOS/VICAR"},
                 }},
                {"NASA software downloads",
                 {
                     {"NASA Software Catalog", "https://software.nasa.gov/"},
                     {"NASA open source code", "https://code.nasa.gov/"},
                 }},
                {"JPEG2000 IAS viewer at HiRise",
                 {
                     {"HiRISE, High Resolution Imaging Science Experiment",
                      "https://www.uahirise.org/"},
                     {"HiView, the HiRISE JPEG2000 image viewer",
                      "https://www.uahirise.org/hiview/"},
                 }},
                {"Martian Software",
                 {
                     {"Mars24 Sunclock (NASA GISS)", "https://www.giss.nasa.gov/tools/mars24/"},
                     {"JMARS, mapping and analysis of Mars (Arizona State University)",
                      "https://jmars.asu.edu/"},
                 }},
                {"Useful bits",
                 {
                     {"Mars24 algorithm for Martian time",
                      "https://www.giss.nasa.gov/tools/mars24/help/algorithm.html"},
                     {"ImageMagick, batch image conversion", "https://imagemagick.org/"},
                     {"FFmpeg, movie conversion", "https://ffmpeg.org/"},
                 }},
            },
        },
        {
            LinkPageId::MarsWebsites,
            "MarsWebsitesLinksPage",
            "Martian and Mars Websites",
            "Image databases, news and research societies for everyone who follows the exploration "
            "of Mars.",
            {
                {"Image and data archives",
                 {
                     {"Planetary Data System", "https://pds.nasa.gov/"},
                     {"PDS Geosciences Node", "https://pds-geosciences.wustl.edu/"},
                     {"USGS Astrogeology Science Center",
                      "https://www.usgs.gov/centers/astrogeology-science-center"},
                     {"Mars Space Flight Facility (Arizona State University)",
                      "https://mars.asu.edu/"},
                     {"Malin Space Science Systems", "https://www.msss.com/"},
                 }},
                {"News",
                 {
                     {"NASA Mars Exploration", "https://science.nasa.gov/mars/"},
                     {"Jet Propulsion Laboratory news", "https://www.jpl.nasa.gov/news/"},
                     {"ESA Mars Express",
                      "https://www.esa.int/Science_Exploration/Space_Science/Mars_Express"},
                     {"Unmanned Spaceflight forum", "https://www.unmannedspaceflight.com/"},
                 }},
                {"Research and societies",
                 {
                     {"The Planetary Society", "https://www.planetary.org/"},
                     {"The Mars Society", "https://www.marssociety.org/"},
                     {"Lunar and Planetary Institute", "https://www.lpi.usra.edu/"},
                     {"AAS Division for Planetary Sciences", "https://dps.aas.org/"},
                 }},
            },
        },
        {
            LinkPageId::SolarSystem,
            "SolarSystemLinksPage",
            "Solar System",
            "Other missions across the solar system, one link per mission, grouped by the body "
            "they study.",
            {
                {"Sol",
                 {
                     {"SOHO, Solar and Heliospheric Observatory", "https://soho.nascom.nasa.gov/"},
                     {"Parker Solar Probe", "https://science.nasa.gov/mission/parker-solar-probe/"},
                     {"Solar Dynamics Observatory", "https://sdo.gsfc.nasa.gov/"},
                 }},
                {"Mercury",
                 {
                     {"MESSENGER", "https://science.nasa.gov/mission/messenger/"},
                     {"BepiColombo",
                      "https://www.esa.int/Science_Exploration/Space_Science/BepiColombo"},
                 }},
                {"Venus",
                 {
                     {"Magellan", "https://science.nasa.gov/mission/magellan/"},
                     {"Venus Express",
                      "https://www.esa.int/Science_Exploration/Space_Science/Venus_Express"},
                 }},
                {"Earth/Moon",
                 {
                     {"Lunar Reconnaissance Orbiter", "https://science.nasa.gov/mission/lro/"},
                     {"NASA Earth Observatory", "https://earthobservatory.nasa.gov/"},
                 }},
                {"Mars",
                 {
                     {"Mars Reconnaissance Orbiter",
                      "https://science.nasa.gov/mission/mars-reconnaissance-orbiter/"},
                     {"Curiosity rover", "https://science.nasa.gov/mission/msl-curiosity/"},
                     {"Perseverance rover",
                      "https://science.nasa.gov/mission/mars-2020-perseverance/"},
                     {"Mars Express",
                      "https://www.esa.int/Science_Exploration/Space_Science/Mars_Express"},
                 }},
                {"Jupiter",
                 {
                     {"Juno", "https://science.nasa.gov/mission/juno/"},
                     {"Galileo", "https://science.nasa.gov/mission/galileo/"},
                     {"Europa Clipper", "https://science.nasa.gov/mission/europa-clipper/"},
                 }},
                {"Saturn",
                 {
                     {"Cassini", "https://science.nasa.gov/mission/cassini/"},
                 }},
                {"Uranus/Neptune",
                 {
                     {"Voyager 2", "https://science.nasa.gov/mission/voyager-2/"},
                 }},
                {"Pluto",
                 {
                     {"New Horizons", "https://science.nasa.gov/mission/new-horizons/"},
                 }},
                {"Asteroid/Comet",
                 {
                     {"Dawn", "https://science.nasa.gov/mission/dawn/"},
                     {"Rosetta", "https://www.esa.int/Science_Exploration/Space_Science/Rosetta"},
                     {"OSIRIS-REx", "https://science.nasa.gov/mission/osiris-rex/"},
                     {"Lucy", "https://science.nasa.gov/mission/lucy/"},
                 }},
            },
        },
        {
            LinkPageId::Meteorites,
            "MeteoritesLinksPage",
            "Meteorites",
            "Meteorites are the only pieces of Mars and the asteroids that we can hold in our "
            "hands. "
            "Four great collections and where to find out more about them.",
            {
                {"The Meteoritical Society",
                 {
                     {"Home page", "https://meteoritical.org/"},
                     {"Links page", "https://www.lpi.usra.edu/meteor/"},
                 }},
                {"Natural History Museum, London",
                 {
                     {"Home page", "https://www.nhm.ac.uk/"},
                     {"Links page", "https://data.nhm.ac.uk/"},
                 }},
                {"Smithsonian National Meteorite Collection",
                 {
                     {"Home page", "https://naturalhistory.si.edu/"},
                     {"Links page",
                      "https://naturalhistory.si.edu/research/mineral-sciences/"
                      "collections-overview"},
                 }},
                {"NASA Antarctic Meteorite Collection",
                 {
                     {"Home page", "https://curator.jsc.nasa.gov/antmet/"},
                     {"Images of a chondrite under investigation",
                      "https://ares.jsc.nasa.gov/astromaterials3d/"},
                 }},
            },
        },
        {
            LinkPageId::AmateurRadio,
            "AmateurRadioLinksPage",
            "Amateur Radio",
            "Radio amateurs talk to the International Space Station and build their own "
            "satellites. "
            "Here is how to listen in, where to find orbital elements and how to track a "
            "spacecraft.",
            {
                {"Space station radio",
                 {
                     {"ARISS, Amateur Radio on the International Space Station",
                      "https://www.ariss.org/"},
                 }},
                {"Satellites",
                 {
                     {"AMSAT, the Radio Amateur Satellite Corporation", "https://www.amsat.org/"},
                     {"AMSAT-UK", "https://amsat-uk.org/"},
                     {"ARRL, the national association for amateur radio", "https://www.arrl.org/"},
                 }},
                {"Orbital elements",
                 {
                     {"CelesTrak", "https://celestrak.org/"},
                 }},
                {"Tracking",
                 {
                     {"N2YO live satellite tracking", "https://www.n2yo.com/"},
                     {"Heavens-Above", "https://www.heavens-above.com/"},
                     {"Gpredict satellite tracking program", "https://github.com/csete/gpredict"},
                 }},
                {"Packet software",
                 {
                     {"APRS, Automatic Packet Reporting System", "https://www.aprs.org/"},
                     {"Dire Wolf software packet modem and APRS",
                      "https://github.com/wb2osz/direwolf"},
                 }},
            },
        },
        {
            LinkPageId::Participate,
            "ParticipateLinksPage",
            "Participate",
            "You can help the scientists: these volunteer projects let anyone classify images, "
            "observe the sky or lend their computer's spare time to research.",
            {
                {"Classify images",
                 {
                     {"Zooniverse, people-powered research", "https://www.zooniverse.org/"},
                     {"Planet Four, mapping the seasons on Mars (Zooniverse)",
                      "https://www.zooniverse.org/projects/mschwamb/planet-four"},
                     {"Backyard Worlds: Planet 9 (Zooniverse)",
                      "https://www.zooniverse.org/projects/marckuchner/backyard-worlds-planet-9"},
                     {"NASA Citizen Science", "https://science.nasa.gov/citizen-science/"},
                 }},
                {"Observe",
                 {
                     {"International Meteor Organization", "https://www.imo.net/"},
                     {"AAVSO, variable star observers", "https://www.aavso.org/"},
                     {"Globe at Night", "https://globeatnight.org/"},
                 }},
                {"Volunteer computing",
                 {
                     {"Einstein@Home", "https://einsteinathome.org/"},
                     {"BOINC, Berkeley Open Infrastructure for Network Computing",
                      "https://boinc.berkeley.edu/"},
                 }},
            },
        },
    };
    return pages;
}

const LinkPageContent& LinkPage(LinkPageId id) {
    const std::vector<LinkPageContent>& pages = LinkPages();
    for (const LinkPageContent& page : pages) {
        if (page.id == id) return page;
    }
    return pages.front();
}

}  // namespace kobrix
