#include "pages/core/help_texts.h"

namespace kobrix {
namespace {

constexpr std::string_view kMenuSelections = R"html(
<h3>Help on Menu Selections</h3>
<p>Every menu of the main window is described below. The blue words are links: a click shows
the window they name, exactly as the menu item does.</p>

<h3>File</h3>
<p><b>Delete</b> removes the image on display from the disk, after you have confirmed with
"Yes". <b>Save as</b> writes the picture on display as a new JPEG or BMP file into the Tagged
directory of the working tree. <b>Directories</b> shows the
<a href="show:directories">Directories window</a>, from which you can jump to any directory of
the working tree. <b>Close</b> ends the program; nothing needs saving.</p>

<h3>Edit</h3>
<p><b>Open Kobrix Notes</b>, <b>Kobrix Development Notes</b> and <b>MarsRoverBlogNotes</b> open
the text files KOBRIX2007notes.txt, KOBRIX2007DevNotes.txt and MarsRoverBlogNotes.txt of the
program directory in the text editor, for your own notes on the images. <b>Filename Font
Size</b> sets the font of the main window's file list to 5 to 14 points, so that long file
names fit.</p>

<h3>View</h3>
<p><b>Full Size Image</b> shows the current picture unscaled in the
<a href="show:fullsize">full-size window</a> (left click closes it, right click opens the
magnifier). <b>Large Size Image</b> shows the <a href="show:large">large image page</a>, the
picture with all its decoded data and its own Next, Previous and Slideshow buttons.
<b>Manual Stereo Image Selection</b> opens the <a href="show:manualstereo">manual stereo
selection</a>, where you lock any two images as left and right eye. <b>Show Stereo Image
Pair</b> does what the Stereo button does: it finds the partner of the current image and shows
the pair in the <a href="show:stereo">stereo viewer</a>. <b>Slideshow Start / Stop</b> starts
and stops the slideshow. <b>Sunset Sim fade</b> fades the current picture to night in the
<a href="show:sunset">sunset window</a>. <b>Traverse Maps</b> shows the
<a href="show:traversemaps">traverse maps</a> of Spirit and Opportunity.</p>

<h3>Tools</h3>
<p><b>3D Anaglyph Stereo Tool</b> opens the <a href="show:anaglyph">anaglyph maker</a> for
red/cyan 3D pictures (see <a href="show:anaglyphhelp">creating 3D anaglyphs</a>).
<b>3D Stereo XI Tool</b> shows the <a href="show:stereo">stereo viewer</a> with the last pair.
<b>AVI Creation Tool</b> opens the <a href="show:avitool">AVI creation tool</a>, which makes a
movie from a directory of frames and plays it back. <b>Clipboard Tool</b> opens the
<a href="show:clipboard">clipboard viewer</a>, which shows and stores the picture on the
clipboard. <b>Colour Image Tool</b> opens the <a href="show:colour">colour image tool</a>
(see <a href="show:colourhelp">how to make a colour composite</a>). <b>Magnifier Tool</b>
opens the <a href="show:magnifier">magnifier</a>. <b>My Birthday Search Tool</b> opens the
<a href="show:birthday">birthday searcher</a>, which finds the images taken on a chosen day of
the year. <b>SOL / Camera Search Tool</b> opens the <a href="show:solsearch">sol searcher</a>,
which finds the images of one rover and camera taken on a chosen sol. <b>Watermark Tool</b>
opens <a href="show:tagging">image tagging</a>, which writes a line of text, typed or made
from the decoded data, onto a copy of the picture; its Languages button opens the
<a href="show:language">language window</a> with the character sets.</p>

<h3>Options</h3>
<p><b>Application Priority</b> sets how much processor time the program asks for, from Idle to
Highest; Lower is chosen when a slideshow starts. <b>Check Print / Clipboard</b> turns every
Print button into a Clipboard button. <b>Slideshow Delay</b> stops the slideshow and opens the
<a href="show:slideshowdelay">slideshow delay</a> window, where you enter the time between
pictures in milliseconds; switch the slideshow off and on again to go on with the new delay.
<b>Check Stereo Autoshow</b> loads the stereo partner of every image you display and shows the
pair; images without a partner in the directory are skipped. <b>Thumbnails as Fullsize</b>
stretches small pictures to fill their frames. <b>Check Loop Slideshow</b> starts again at the
first image when the end of the directory is reached. <b>Auto L4L5L6 RGB</b> and <b>Force
Manual Colour</b> choose between automatic and manual colour processing for the Colour button.
<b>tlhIngan Hol</b> opens the Klingon typeface page.</p>

<h3>Information</h3>
<p><b>Earth Variables Display</b> shows the <a href="show:earthtime">Earth time variables</a>:
how the capture time follows from the spacecraft clock, and the present time. <b>Martian
Calendar</b> shows the <a href="show:calendar">Martian calendar</a> with the units of Martian
time. <b>Martian Variables Display</b> shows the <a href="show:martiantime">Martian time
page</a> of the current image. <b>MER Data Decoding</b> shows the
<a href="show:datadecoding">data decoding information</a>, a chart of the file name.
<b>The Help Menu</b> shows the <a href="show:helphub">help subjects</a>. <b>Your Screen
Resolution</b> tells you the <a href="show:screenresolution">screen resolution</a> in
pixels.</p>

<h3>Remember</h3>
<p><b>Those that went before us</b> shows the <a href="show:dedication">dedication page</a> in
memory of the people who lost their lives in space exploration.</p>

<h3>Web Links</h3>
<p>Seven pages of web links open in your web browser. <b>MER Image Web Links</b> leads to
where the rover images are kept; the six others are listed on the <a href="show:weblinks">web
links</a> page: Mars software, Mars websites and societies, other missions of the solar system,
meteorites, amateur radio in space and projects you can take part in. <b>Visit NASA at
current image</b> opens the public gallery page for the rover, camera and sol of the current
image. NASA has retired the original raw-image galleries of Spirit and Opportunity; if the page
is no longer found, the links under <b>MER Image Web Links</b> lead to the archive that holds
the images now.</p>

<h3>Help</h3>
<p><b>Help</b> shows the <a href="show:helphub">help subjects</a>, like The Help Menu.</p>

<h3>External</h3>
<p><b>Run Autostitch external program</b> and <b>Run Stereo Photo Maker external program</b>
start autostitch.exe and stphmkre.exe if you have placed them in the program directory.</p>
)html";

constexpr std::string_view kColourComposite = R"html(
<h3>How to make a colour composite image</h3>
<p>The rover cameras take black and white pictures through filters. The panoramic camera
(PANCAM, camera letter P) has eight filters in each eye. Three filters of the left eye lie
close to the colours the human eye sees:</p>
<ul>
<li><b>L4</b>, filter 4 of the left eye, 601 nm: <b>red</b></li>
<li><b>L5</b>, filter 5 of the left eye, 535 nm: <b>green</b></li>
<li><b>L6</b>, filter 6 of the left eye, 482 nm: <b>blue</b></li>
</ul>
<p>Three images of the same scene taken one after the other through these filters have file
names that differ only in the filter digit, character 25 of the name, for example
2P241328935EFFAUCTP2582L<b>4</b>M1.jpg, ...L<b>5</b>M1.jpg and ...L<b>6</b>M1.jpg. Put together
as red, green and blue they give an approximate true colour picture, Mars much as your own eyes
would see it. The <a href="show:datadecoding">data decoding information</a> lists every filter
of both eyes.</p>

<h3>The automatic way</h3>
<ul>
<li>Make sure <b>Auto L4L5L6 RGB</b> is checked in the Options menu (it is, when the program
starts).</li>
<li>Put the three images in one directory and select the <b>L4</b> image in the main window.
Its L5 and L6 partners must follow it in the file list, as they do when the names sort
together.</li>
<li>Press the <b>Colour</b> button. The program loads the L4 image as red, steps to the L5 and
L6 images, loads them as green and blue, and shows the result in the
<a href="show:colour">colour image tool</a> with the status "RGB Loaded.". A beep tells you
that it has finished.</li>
<li>If a partner is missing or out of order, the message "Sorry, all required images not
found, or not in sequence." appears after five seconds. Always start on the filter 4 image; if
a run stops half way, load the missing band by hand as below, and the automatic processing
works again after the next complete combination.</li>
</ul>

<h3>By hand</h3>
<ul>
<li>Check <b>Force Manual Colour</b> in the Options menu. The Colour button then asks, in the
small "KOBRIX Colour processor" window, which band the current image belongs in: tick
<b>RED BAND</b>, <b>GREEN BAND</b> or <b>BLUE BAND</b> and press <b>CONTINUE</b>.</li>
<li>Or open the <a href="show:colour">colour image tool</a>, clear its <b>Auto Colour</b> box,
and use <b>Load Red Band Image</b>, <b>Load Green Band Image</b> and <b>Load Blue Band
Image</b> to choose the three files yourself.</li>
<li>As soon as all three bands are loaded they are combined; <b>Straight RGB Combination</b>
combines them again. The composite is as large as the smallest of the three images. The filters
used are shown beside the bands, read from the file names.</li>
<li>Any three filters can be combined this way, for example the infrared filters of the right
eye for a false colour picture. Use manual mode for them: in automatic mode the filter labels
are only renewed when the blue band is an L6 image.</li>
</ul>

<h3>Effects</h3>
<ul>
<li><b>MER2RGB Method</b> mixes the red and the blue band each with the green band. Two sliders
(starting at 70%) set how much of its own band each channel keeps; this often gives softer,
more natural colours.</li>
<li><b>Invert RGB</b> shows the composite as a negative.</li>
<li><b>Solarize</b> shows a slider that shifts all colour values round, for striking false
colours.</li>
</ul>

<h3>Saving</h3>
<p><b>Save as</b> proposes a name in the ImageCategories/Colour/456_RGB directory of the
working tree: the green band's file name, the filters used and a number, for example
2P241328935EFFAUCTP2582L5M1-L4L5L6-01.jpg; an inverted or solarized picture carries
"-Inverted0" or "-Solarized0" before the number. Choose "JPEG Image File (*.jpg)" for a JPEG,
any other file type for a BMP. The "-" after the 27 characters of the product name tells the
program, when it shows the composite later, that this is a colour composite. Composites of other
filters can be kept in the ImageCategories/Colour directory; the "Colour ?" and "RGB" buttons
of the <a href="show:directories">Directories window</a> jump there.</p>
)html";

constexpr std::string_view kAnaglyph = R"html(
<h3>Creating 3D anaglyphs</h3>
<p>The navigation, hazard avoidance and panoramic cameras have two eyes, like you. A left-eye
and a right-eye image taken at the same moment through the same filter form a stereo pair.
Their file names differ only in character 24, the eye: <b>L</b> for the left eye, <b>R</b> for
the right eye (M and N mark pictures that have no partner). Everything else in the name (rover,
camera, clock, site, drive, sequence, filter) must be the same.</p>

<h3>Cross-eyed stereo</h3>
<p>The <a href="show:stereo">stereo viewer</a> shows a pair side by side, the right-eye image
on the left and the left-eye image on the right. Sit about 30 to 60 cm from the screen and
cross your eyes until the two pictures merge into a third one between them; blurring your eyes
first and then bringing the third picture into focus helps. Display an L or R image and press
the <b>Stereo</b> button, or check <b>Check Stereo Autoshow</b> in the Options menu to see
every pair as you browse. <b>NEXT IMAGE</b> and <b>PREVIOUS IMAGE</b> step through the
directory pair by pair, and <b>Save as X-eyed</b> keeps the side-by-side picture. When the
names do not pair up, the <a href="show:manualstereo">manual stereo selection</a> lets you lock
any image as left eye and any other as right eye and view them together.</p>

<h3>Red/cyan anaglyphs</h3>
<p>An anaglyph puts both eyes into one picture, to be seen through red/cyan glasses with the
red lens over the left eye: the left-eye image gives the red channel, the right-eye image the
green and blue channels.</p>
<ul>
<li>The quick way: show the pair in the <a href="show:stereo">stereo viewer</a> and press
<b>Anaglyph This</b>. The <a href="show:anaglyph">anaglyph maker</a> opens with the anaglyph
already made.</li>
<li>By hand: open the <a href="show:anaglyph">anaglyph maker</a> from the Tools menu, press
<b>Manual Adjustment Controls</b>, then <b>Load image 1 manually (R?)</b> for the right-eye
image and <b>Load image 2 manually (L?)</b> for the left-eye image. <b>Make Blue</b> makes a
red/blue anaglyph for red/blue glasses; <b>Make Cyan</b> returns to red/cyan.</li>
</ul>

<h3>Settings</h3>
<ul>
<li><b>Merge</b> balances the two eyes: at 50% both count equally; higher favours the
right-eye (cyan) image, lower the left-eye (red) image.</li>
<li><b>Contrast</b> multiplies every value by the setting divided by 16: 16 leaves the picture
unchanged, 32 doubles the contrast, lower values darken it.</li>
<li><b>Brightness</b> adds to every value: 30 leaves the picture unchanged, lower is darker,
higher is brighter.</li>
</ul>
<p>Loading an image, Make Blue, Make Cyan and <b>Reset</b> set the three back to Merge 50,
Contrast 16 and Brightness 30.</p>

<h3>Saving</h3>
<p><b>Save As</b> proposes a name in the ImageCategories/Anaglyphs directory of the working
tree, built from the name of the image loaded last (the left-eye image after Anaglyph This),
the three settings and a number, and writes a JPEG
("JPEG Image File (*.jpg)") or a BMP (any other file type). For example</p>
<p><b>1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg</b></p>
<p>is an anaglyph made from the Opportunity navigation camera's left-eye image
1N241637757EFF8615P1999L0M1 with <b>B30</b> Brightness 30, <b>C30</b> Contrast 30 and
<b>M50</b> Merge 50; <b>-01</b> is the first anaglyph saved under that name, the next one is
proposed as -02. The "-" right after the 27 characters of the product name tells the program,
when it shows the anaglyph later, that this is a combined picture: the eye reads "COMBINED"
and no stereo partner is looked for. The "3D" button of the
<a href="show:directories">Directories window</a> jumps to your anaglyphs.</p>
)html";

constexpr std::string_view kQuickStart = R"html(
<h3>Quick Start</h3>
<p>A short walk through the main window.</p>
<ul>
<li><b>Drive, directory and file lists</b> (left): choose the drive, double click the directory
that holds your rover images, then double click a file. The up and down cursor keys move
through the list, one image after the other. Keep your images in the All-MER-Images directory
of the working tree, or anywhere else you like.</li>
<li><b>The picture</b> (middle): the image on display. A left click opens it full size; in the
full-size window a right click opens the magnifier and a left click closes it. "Using File n of
m" tells you where you are in the directory.</li>
<li><b>The decoded-fields panel</b> (right): everything the file name tells about the image:
rover and landing site, camera, spacecraft clock, the capture time in UTC and in your local
time, the sol, the Martian time since landing and the Martian local time, product type, site,
drive, command sequence, eye, filter, producer and version, and the names of the left-eye and
right-eye partners. The <a href="show:datadecoding">data decoding information</a> explains the
fields.</li>
<li><b>The buttons</b>: <b>Close</b> ends the program; <b>Large Image</b> opens the
<a href="show:large">large image page</a>; <b>Stereo</b> shows the stereo pair in the
<a href="show:stereo">stereo viewer</a>; <b>Colour</b> passes L4, L5 and L6 images to the
<a href="show:colour">colour image tool</a>; <b>Print</b> prints the window (or copies it to the
clipboard when <b>Print/Clipboard</b> is checked); <b>Tag</b> writes the tag of
<a href="show:tagging">image tagging</a> onto the picture; <b>Web Links</b> opens the
<a href="show:weblinks">web links</a>.</li>
<li><b>Slideshow</b>: check it to step through every image of the directory by itself; clear it
to stop. The <a href="show:slideshowdelay">slideshow delay</a> sets the pace.</li>
<li><b>The "?" button</b> at the top left shows the <a href="show:directories">Directories
window</a> with the working directories and buttons that jump to them. It also appears once by
itself, a second after the program starts.</li>
</ul>
<p>Press <b>Show me</b> below: the first image of the directory in the main window is selected
and displayed, with its data decoded.</p>
)html";

constexpr std::string_view kUsage = R"html(
<h3>Usage</h3>
<p>KOBRIX 2007 works on your own folders of raw images from the Mars Exploration Rovers Spirit
and Opportunity. It does not download anything itself: fetch the images (JPEG, BMP or GIF) from
the archives listed under <a href="show:weblinks">web links</a>, keep their mission file names,
and open their directory in the main window. Every image you select is shown with everything
its name encodes; from there the stereo, anaglyph, colour, movie, tagging and time tools work
on the same files.</p>

<h3>File name conventions</h3>
<p>A mission file name such as <b>2P241328935EFFAUCTP2582L5M1.jpg</b> has 27 characters before
the extension, read by position:</p>
<ul>
<li><b>1, rover</b>: 1 = Opportunity (landed at Meridiani Planum), 2 = Spirit (landed in Gusev
Crater).</li>
<li><b>2, camera</b>: F = front hazard avoidance camera, R = rear hazard avoidance camera,
N = navigation camera, P = panoramic camera, M = microscopic imager, E = descent imager.</li>
<li><b>3 to 11, spacecraft clock</b>: nine digits, the seconds counted by the rover's clock
since 1 January 2000 11:58:55.816 UTC. The capture time on Earth, the sol and the Martian time
are worked out from it. (Some names carry a "-" before the clock; every later field then moves
one place to the right.)</li>
<li><b>12 to 14, product type</b>: EFF full frame, ESF sub frame, EDN downsampled, ETH
thumbnail, ERS row summed, ECS column summed, ERP reference pixels, EHG histogram.</li>
<li><b>15 and 16, site</b>, and <b>17 and 18, drive</b> within the site: where the rover
stood.</li>
<li><b>19 to 23, command sequence</b>: a category letter and four digits, for example P2582.
P stands for the mast and remote sensing instruments; its numbers 1000 to 1499 are hazard
camera sequences, 1500 to 1999 navigation camera, 2000 to 2899 panoramic camera, 2900 to 2999
microscopic imager and 3000 to 3999 Mini-TES.</li>
<li><b>24, eye</b>: L = left, R = right, M = monoscopic, N = not applicable. A left and a
right image that differ only here form a stereo pair.</li>
<li><b>25, filter</b>: 0 to 8. The panoramic camera's left-eye filters 4, 5 and 6 (601, 535 and
482 nm) make the colour composites.</li>
<li><b>26, producer</b>: who made the product, for example M = MIPL (OPGS) at JPL, C = Cornell
University.</li>
<li><b>27, version</b>.</li>
<li><b>28</b>: normally the "." of the extension. A "-" here marks an anaglyph or colour
composite made by this program; its settings follow, as in
1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg.</li>
</ul>
<p>The <a href="show:datadecoding">data decoding information</a> has the complete chart, and
the <a href="show:calendar">Martian calendar</a> the units of Martian time.</p>

<h3>The working directory tree</h3>
<p>The program keeps its products in a fixed tree of directories under the directory it is
started in (started from the desktop menu, a Kobrix2007 directory in your home directory). At
the first start it asks, one directory at a time, whether it may create what is missing; "Yes"
creates it, "Cancel" ends the program.</p>
<ul>
<li><b>All-MER-Images</b>: the main store for your rover images ("NASA" button).</li>
<li><b>ImageCategories/Anaglyphs</b>: the red/cyan anaglyphs you save ("3D" button).</li>
<li><b>ImageCategories/Colour</b>: colour composites of any filter combination ("Colour ?"
button).</li>
<li><b>ImageCategories/Colour/456_RGB</b>: the L4L5L6 approximate true colour composites
("RGB" button).</li>
<li><b>ImageCategories/Clipboard</b>: pictures kept by the clipboard viewer and the
magnifier.</li>
<li><b>Traverse-Maps/Opportunity</b> and <b>Traverse-Maps/Spirit</b>: map pictures shown by the
<a href="show:traversemaps">traverse maps</a>.</li>
<li><b>AVIsource</b>: the frames for a movie of the <a href="show:avitool">AVI creation
tool</a>; <b>AVIoutput</b>: the finished movies.</li>
<li><b>Tagged</b>: tagged pictures and the copies written by Save as.</li>
</ul>
<p>The <a href="show:directories">Directories window</a> shows every path and jumps to them;
its Browse button remembers one more directory of your own.</p>
)html";

}  // namespace

const std::vector<HelpPageContent>& HelpPages() {
    static const std::vector<HelpPageContent> pages = {
        {HelpPageId::MenuSelections, "MenuHelpPage", "Help on Menu Selections", kMenuSelections},
        {HelpPageId::ColourComposite, "ColourHelpPage",
         "Help on how to make a Colour composite image", kColourComposite},
        {HelpPageId::Anaglyph, "AnaglyphHelpPage", "Help for creating 3D anaglyphs", kAnaglyph},
        {HelpPageId::QuickStart, "QuickStartHelpPage", "Quick Start Help", kQuickStart},
        {HelpPageId::Usage, "UsageHelpPage", "Usage", kUsage},
    };
    return pages;
}

const HelpPageContent& HelpPage(HelpPageId id) {
    const std::vector<HelpPageContent>& pages = HelpPages();
    for (const HelpPageContent& page : pages) {
        if (page.id == id) return page;
    }
    return pages.front();
}

const std::vector<std::string_view>& HelpLinkKeys() {
    static const std::vector<std::string_view> keys = {
        "stereo",      "colour",       "large",     "fullsize",       "manualstereo",
        "martiantime", "earthtime",    "calendar",  "datadecoding",   "traversemaps",
        "helphub",     "dedication",   "birthday",  "solsearch",      "weblinks",
        "colourhelp",  "anaglyphhelp", "anaglyph",  "slideshowdelay", "screenresolution",
        "avitool",     "magnifier",    "clipboard", "tagging",        "language",
        "sunset",      "directories",
    };
    return keys;
}

}  // namespace kobrix
