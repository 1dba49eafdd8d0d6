#include "app/sol_search_window.h"

#include "widgets/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window.h"

namespace kobrix {
namespace {

constexpr std::array<const char*, 6> kCameraLetters = {"F", "R", "N", "P", "M", "E"};
constexpr int kDescent = 5;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

SolSearchWindow::SolSearchWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("SolSearchUnit200722");
    setWindowTitle("SOL searcher");

    auto* instruction = NamedLabel(
        "Label1", "Select the rover and camera then enter the SOL number you wish to view", this);
    instruction->setWordWrap(true);

    auto* rovers = new QGroupBox(this);
    auto* roverColumn = new QVBoxLayout(rovers);
    opportunity_ = AddCheckBox("CheckBox1", "Opportunity", true);
    spirit_ = AddCheckBox("CheckBox2", "Spirit", false);
    roverColumn->addWidget(opportunity_);
    roverColumn->addWidget(spirit_);
    roverColumn->addStretch(1);
    for (QCheckBox* box : {opportunity_, spirit_}) {
        connect(box, &QCheckBox::clicked, this, [this, box](bool on) { RoverClicked(box, on); });
    }

    auto* cameraGroup = new QGroupBox(this);
    auto* cameraGrid = new QGridLayout(cameraGroup);
    const char* names[] = {"CheckBox3", "CheckBox4", "CheckBox5",
                           "CheckBox6", "CheckBox7", "CheckBox8"};
    const char* texts[] = {"Fwd HAZCAM", "Rear HAZCAM", "NAVCAM",
                           "PANCAM",     "Microscopic", "Descent"};
    for (std::size_t i = 0; i < cameras_.size(); ++i) {
        QCheckBox* box = AddCheckBox(names[i], texts[i], i == 0);
        cameras_[i] = box;
        cameraGrid->addWidget(box, static_cast<int>(i % 3), static_cast<int>(i / 3));
        connect(box, &QCheckBox::clicked, this, [this, box](bool on) { CameraClicked(box, on); });
    }

    auto* solRow = new QHBoxLayout;
    solBox_ = new QLineEdit("100", this);
    solBox_->setObjectName("Edit1");
    solBox_->setMaximumWidth(90);
    solRow->addWidget(solBox_);
    solRow->addStretch(1);

    auto* search = PlainButton("Button1", "Search for SOL", this);
    search->setDefault(true);
    stop_ = PlainButton("Button2", "STOP search", this);
    auto* close = PlainButton("Button3", "Close", this);
    connect(search, &QPushButton::clicked, this, &SolSearchWindow::Button1Click);
    // Return in the sol box presses the default button, as in a dialog.
    connect(solBox_, &QLineEdit::returnPressed, this, &SolSearchWindow::Button1Click);
    connect(stop_, &QPushButton::clicked, this, &SolSearchWindow::Button2Click);
    connect(close, &QPushButton::clicked, this, &SolSearchWindow::Button3Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search);
    buttons->addWidget(stop_);
    buttons->addStretch(1);
    buttons->addWidget(close);

    // The values of the search and of the image on display, side by side.
    results_ = new QWidget(this);
    auto* grid = new QGridLayout(results_);
    grid->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"Searching for MER", "Searching for Camera", "Searching for SOL",
                              "Found MER",         "Found Camera",         "Found SOL"};
    const char* captionNames[] = {"Label4", "Label5", "Label6", "Label10", "Label11", "Label12"};
    const char* valueNames[] = {"Label7", "Label8", "Label9", "Label13", "Label14", "Label15"};
    for (int i = 0; i < 6; ++i) {
        const int row = i % 3;
        const int column = i < 3 ? 0 : 2;
        grid->addWidget(NamedLabel(captionNames[i], captions[i], results_), row, column);
        QLabel* value = NamedLabel(valueNames[i], QString(), results_);
        value->setMinimumWidth(50);
        MakeBold(*value);
        values_[static_cast<std::size_t>(i)] = value;
        grid->addWidget(value, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    findAtNasa_ = PlainButton("Button4", "Find at NASA", this);
    connect(findAtNasa_, &QPushButton::clicked, this, &SolSearchWindow::Button4Click);
    note_ = NamedLabel(
        "Label3",
        "A new browser window will open. Please note if page not found then No images that "
        "day for that camera.",
        this);
    note_->setWordWrap(true);
    status_ = NamedLabel("Label2", QString(), this);
    status_->setWordWrap(true);
    MakeBold(*status_);

    auto* choices = new QHBoxLayout;
    choices->addWidget(rovers);
    choices->addWidget(cameraGroup, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(choices);
    layout->addLayout(solRow);
    layout->addLayout(buttons);
    layout->addWidget(results_);
    layout->addWidget(findAtNasa_, 0, Qt::AlignLeft);
    layout->addWidget(note_);
    layout->addWidget(status_);
    layout->addStretch(1);
    setMinimumWidth(480);

    timer1_.setInterval(1);
    connect(&timer1_, &QTimer::timeout, this, &SolSearchWindow::Timer1Timer);
    ShowView();
}

QCheckBox* SolSearchWindow::AddCheckBox(const char* objectName, const char* text, bool checked) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(objectName);
    box->setChecked(checked);
    return box;
}

// The rover boxes and the camera boxes each act as a set of radio buttons.
void SolSearchWindow::RoverClicked(QCheckBox* box, bool checked) {
    if (!checked) return;
    (box == opportunity_ ? spirit_ : opportunity_)->setChecked(false);
    if (box == opportunity_) search_.ResetMatchLevel();
}

void SolSearchWindow::CameraClicked(QCheckBox* box, bool checked) {
    if (!checked) return;
    for (QCheckBox* other : cameras_) {
        if (other != box) other->setChecked(false);
    }
    if (box == cameras_[kDescent]) solBox_->setText("1");
}

SolSearchControls SolSearchWindow::ReadControls() const {
    SolSearchControls controls;
    controls.opportunity = opportunity_->isChecked();
    controls.spirit = spirit_->isChecked();
    controls.cameraLetter.clear();
    for (std::size_t i = 0; i < cameras_.size(); ++i) {
        if (cameras_[i]->isChecked()) controls.cameraLetter = kCameraLetters[i];
    }
    controls.solText = solBox_->text().toStdString();
    return controls;
}

void SolSearchWindow::OpenFromMenu() {
    search_.ResetSearchValues();
    show();
    raise();
    activateWindow();
}

void SolSearchWindow::StopTimer() {
    timer1_.stop();
    if (stepping_) stoppedDuringStep_ = true;
}

void SolSearchWindow::Button1Click() {
    RunStep(true);
}

void SolSearchWindow::Timer1Timer() {
    RunStep(false);
}

void SolSearchWindow::RunStep(bool fromButton) {
    // A message box of the display pass lets further timer events in; they wait for this step.
    if (!main_ || stepping_) return;
    stepping_ = true;
    stoppedDuringStep_ = false;
    const SolSearchControls controls = ReadControls();
    SolStepResult result;
    bool completed = false;
    main_->Drive([&] {
        Browser& browser = main_->GetBrowser();
        result = fromButton ? search_.Search(browser, controls) : search_.Step(browser, controls);
        completed = true;
    });
    stepping_ = false;

    // A step that failed would fail again every millisecond.
    if (result.stopTimer || !completed) timer1_.stop();
    if (result.startTimer && completed && !stoppedDuringStep_) timer1_.start();
    if (!result.solBoxText.empty()) solBox_->setText(Q(result.solBoxText));
    ShowView();
    if (result.beep) platform_.desktop.Beep();
    if (!result.warning.empty()) platform_.prompts.Warning(Q(result.warning));
}

void SolSearchWindow::Button2Click() {
    timer1_.stop();
}

void SolSearchWindow::Button3Click() {
    timer1_.stop();
    hide();
}

void SolSearchWindow::Button4Click() {
    const GalleryAddress page = search_.FindAtNasaAddress();
    if (!page.ok) {
        platform_.prompts.Error(Q(page.error));
        return;
    }
    platform_.desktop.OpenUrl(Q(page.address));
}

void SolSearchWindow::ShowView() {
    const SolSearchView& view = search_.View();
    // The captions are always there; their values come with the first search.
    stop_->setVisible(view.resultsVisible);
    const std::string* texts[] = {&view.searchingRover, &view.searchingCamera, &view.searchingSol,
                                  &view.foundRover,     &view.foundCamera,     &view.foundSol};
    for (std::size_t i = 0; i < values_.size(); ++i) values_[i]->setText(Q(*texts[i]));
    findAtNasa_->setVisible(view.findAtNasaVisible);
    note_->setVisible(view.findAtNasaVisible);
    status_->setText(Q(view.status));
    status_->setVisible(view.statusVisible);
    GrowToFit(*this);
}

}  // namespace kobrix
