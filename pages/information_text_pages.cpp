#include "pages/information_text_pages.h"

#include "widgets/controls.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace kobrix {
namespace {

constexpr int kTextRows = 30;

constexpr const char* kCalendarText = R"(TIME ON MARS IN THIS PROGRAM

Every time of day on Mars that this program shows or works with is Solar Time, counted
from the position of the Sun in the Martian sky, and not Sidereal Time, which is counted
against the distant stars.


THE SOL

A Martian solar day is called a sol.
One sol lasts 24 hours, 39 minutes and 35.244 seconds of Earth time.

   An Earth day has 86400 seconds.
   A sol has 88775 Earth seconds (the program counts the sol in whole Earth seconds).


MARTIAN HOURS, MINUTES AND SECONDS

The program divides the sol the way a clock divides the Earth day: into 24 Martian
hours, each of 60 Martian minutes, each of 60 Martian seconds, which makes 86400 Martian
seconds to the sol. Each of them is a little longer than an Earth second, by the ratio
88775 / 86400:

   One Martian Second equals 1.0274884259259 ad infinitum, Earth seconds.

The Martian time elapsed since a rover's landing is the number of Earth seconds since
the landing divided by this ratio, and then broken down into sols, hours, minutes and
seconds.


THE MARTIAN YEAR

A Martian year is divided into 12 months, each about twice as long as a month on Earth.
Seen from the Sun, Mars moves in front of the constellations of the zodiac, and the
months are named after them, in this order:

    1  Aquarius       5  Gemini         9  Libra
    2  Pisces         6  Cancer        10  Scorpio
    3  Aries          7  Leo           11  Sagittarius
    4  Taurus         8  Virgo         12  Capricorn


SEASONS

The axis of Mars is tilted by 25.2 degrees, a little more than the 23.45 degrees of the
Earth's axis, so Mars has seasons as the Earth has. Its orbit is much more elliptical
than the Earth's, though: Mars moves slowly when it is far from the Sun and quickly when
it is near, so its seasons are of quite unequal length. The first column gives the length
of each season on Mars in sols; the second, for comparison, the length of the same
season on Earth in days.

   Season                                Sols (on Mars)     Days (on Earth)
   -----------------------------------   --------------     ---------------
   Northern Spring, Southern Autumn          193.30              92.764
   Northern Summer, Southern Winter          178.64              93.647
   Northern Autumn, Southern Spring          142.70              89.836
   Northern Winter, Southern Summer          153.95              88.997
)";

constexpr const char* kChartText = R"(File name code

Every image product of the Mars Exploration Rovers is named by the same scheme: 27
characters, followed by the extension. Read from the left, position by position:

Position 1         Spacecraft ID
                   1 = Opportunity (MER-B, MER-1)
                   2 = Spirit (MER-A, MER-2)

Position 2         Camera
                   F = Forward HAZCAM
                   R = Rear HAZCAM
                   N = NAVCAM Navigational Camera
                   P = PANCAM Panoramic Camera
                   M = Microscopic Imager
                   E = EDLcam (Descent Imager)

Positions 3-11     Spacecraft clock
                   The seconds counted by the rover's onboard clock since
                   January 1, 2000 at 11:58:55.816 UTC.

Positions 12-14    Product type
                   Whether the camera's distortion has been removed ("linearized") and
                   whether the image is thumbnail-sized shows in the code:
                   - a leading E marks an EDR (Experiment Data Record): raw data, with
                     no linearization and no radiometric correction. A code without the
                     leading E is an RDR (Reduced Data Record), made from EDRs;
                   - a trailing T marks an EDR or RDR of thumbnail size;
                   - a trailing L, without the leading E, marks a linearized RDR that
                     is not thumbnail-sized;
                   - a trailing N, without the leading E, marks a linearized RDR of
                     thumbnail size.
                   The EDR codes:
                   EFF = Full Frame EDR
                   ESF = Sub Frame EDR
                   EDN = Downsampled EDR
                   ETH = Thumbnail EDR
                   ERS = Row Summed EDR
                   ECS = Column Summed EDR
                   ERP = Reference Pixels EDR
                   EHG = Histogram EDR

Positions 15-16    Site number
                   Counts the rover's locations. Values 00, 01, 02 ... 99, then A0,
                   A1 ... A9, AA, AB and so on.

Positions 17-18    Drive number
                   Counts the rover's positions within the site. Values 00, 01, 02
                   ... 99, then A0, A1 ... A9, AA, AB and so on.

Positions 19-23    Command sequence
                   One letter and four digits; the images of one command sequence
                   share them. The letter is the sequence's category:
                   C = Cruise
                   D = IDD & RAT
                   E = Engineering
                   F = Flight Software
                   G = (Spare)
                   K = (Spare)
                   M = Master (Surface only)
                   N = In-Situ instr. (APXS, MB, MI)
                   P = PMA and Remote Sensing instrument
                   R = Rover Driving
                   S = Submaster
                   T = Test
                   W = Seq. triggered by a communications window
                   X = Contingency
                   Y = (Spare)
                   Z = SCM Sequences
                   The four digits are a number from 0000 to 4095. For category P the
                   number tells the kind of sequence:
                   0000 through 0499   Misc imaging setup/parm sequences
                   0500 through 0999   Unallocated, for possible future use
                   1000 through 1499   HAZCAM sequences
                   1500 through 1999   NAVCAM sequences
                   2000 through 2899   PANCAM sequences
                   2900 through 2999   MI (microscopic imager) sequences
                   3000 through 3999   Mini-TES sequences
                   4000 through 4095   Misc. PMA actuation sequences (deploy)

Position 24        Camera eye
                   R = Right
                   L = Left
                   M = Monoscopic (not part of a stereo pair)
                   N = Not applicable

Position 25        Filter
                   PANCAM, left eye (L)
                   1 = 739nm (338nm bandpass)
                   2 = 753nm (20nm bandpass)
                   3 = 673nm (16nm bandpass)
                   4 = 601nm (17nm bandpass)
                   5 = 535nm (20nm bandpass)
                   6 = 482nm (30nm bandpass)
                   7 = 432nm (32nm bandpass)
                   8 = 440nm (20nm) Solar ND 5.0
                   PANCAM, right eye (R)
                   1 = 436nm (37nm Shortpass)
                   2 = 754nm (20nm bandpass)
                   3 = 803nm (20nm bandpass)
                   4 = 864nm (17nm bandpass)
                   5 = 904nm (26nm bandpass)
                   6 = 934nm (25nm bandpass)
                   7 = 1009nm (38nm bandpass)
                   8 = 880nm (20nm) Solar ND 5.0
                   Microscopic Imager
                   1 = MI window closed, 500-700nm
                   2 = MI window open, 400-700nm
                   0 = any other camera (no filter); the HAZCAMs and the NAVCAM see
                       400-1100nm

Position 26        Product producer
                   A = Arizona State University
                   C = Cornell University
                   F = USGS at Flagstaff
                   J = Johannes Gutenberg Univ. (Germany)
                   M = MIPL (OPGS) at JPL
                   N = NASA Ames Research (P. Quellan)
                   P = Max Plank Institute (Germany)
                   S = SOAS at JPL
                   U = University of Arizona
                   V = SSV Team (H. Vantor) at JPL
                   X = Other

Position 27        Product version
                   1 to 9, then A to Z.


An example:  2P126471340EDN0000P2303L5M1.JPG

   2            Spirit
   P            PANCAM Panoramic Camera
   126471340    spacecraft clock, seconds since January 1, 2000 at 11:58:55.816 UTC
   EDN          Downsampled EDR
   00           site 00
   00           position 00 within the site
   P2303        command sequence P2303: PMA and Remote Sensing, a PANCAM sequence
   L            left eye
   5            filter 5, 535nm
   M            produced by MIPL (OPGS) at JPL
   1            version 1

Images whose clock values are close together were taken at nearly the same time: with
the left and right eye they can be combined into stereograms, and with different filters
into colour composites.


Source: the naming scheme published on the Mars Exploration Rover mission's public web
site (NASA / JPL).
)";

}  // namespace

InformationTextPage::InformationTextPage(Platform& /*platform*/, const char* objectName,
                                         const char* title, const QString& heading,
                                         const QString& text, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    setWindowTitle(title);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    if (!heading.isEmpty()) {
        auto* label = PlainLabel(heading, this);
        label->setObjectName("Label1");
        label->setWordWrap(true);
        MakeBold(*label);
        root->addWidget(label);
    }

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo1");
    memo_->setReadOnly(true);
    memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Lines wrap at the box's width, so there is nothing to scroll sideways.
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setStyleSheet("QPlainTextEdit { background: black; color: lime; }");
    memo_->setPlainText(text);
    // Wide enough for the longest line, so that the tables keep their columns; a narrower
    // window wraps the lines rather than hiding their ends.
    memo_->ensurePolished();
    const QFontMetrics metrics(memo_->font());
    int longest = 0;
    for (const QString& line : text.split('\n')) {
        longest = std::max(longest, metrics.horizontalAdvance(line));
    }
    const int chrome = 2 * static_cast<int>(memo_->document()->documentMargin()) +
                       2 * memo_->frameWidth() +
                       memo_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    memo_->setMinimumSize(longest + chrome, metrics.lineSpacing() * kTextRows);
    root->addWidget(memo_, 1);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &InformationTextPage::Button1Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    root->addLayout(buttons);
}

void InformationTextPage::Button1Click() {
    hide();
}

QString InformationTextPage::Text() const {
    return memo_->toPlainText();
}

MartianCalendarPage::MartianCalendarPage(Platform& platform, QWidget* parent)
    : InformationTextPage(platform, "CalendarUnit20075", "Martian Calendar", HeadingText(),
                          CalendarText(), parent) {}

QString MartianCalendarPage::HeadingText() {
    return "All references to time in this software are Solar Time and not Sidereal Time.";
}

QString MartianCalendarPage::CalendarText() {
    return kCalendarText;
}

DataDecodingPage::DataDecodingPage(Platform& platform, QWidget* parent)
    : InformationTextPage(platform, "DataDecodeUnit200710", "Data Decoding Information", QString(),
                          ChartText(), parent) {}

QString DataDecodingPage::ChartText() {
    return kChartText;
}

}  // namespace kobrix
