#include "colour/colour_run.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "browse/browsing_link.h"
#include "colour/colour_processor_window.h"
#include "colour/colour_window.h"

namespace kobrix {

ColourRun::ColourRun(Platform& platform, BrowsingLink& link, ColourWindow& colour,
                     ColourProcessorWindow& processor, QAction& autoOption, QAction& manualOption)
    : platform_(platform),
      link_(link),
      colour_(colour),
      processor_(processor),
      autoOption_(autoOption),
      manualOption_(manualOption) {
    // The two options exclude each other; the window's "Auto Colour" box sets the first only.
    QObject::connect(&autoOption_, &QAction::triggered, &colour_,
                     [this](bool on) { manualOption_.setChecked(!on); });
    QObject::connect(&manualOption_, &QAction::triggered, &colour_,
                     [this](bool on) { autoOption_.setChecked(!on); });
    processor_.OnContinue([this] { IdentifyBands(); });
}

bool ColourRun::AutoMode() const {
    return autoOption_.isChecked();
}

void ColourRun::ColourButton() {
    selectedPath_ = QString::fromStdString(link_.SelectedPath());
    const QString suffix = QFileInfo(selectedPath_).suffix();
    extension_ = suffix.isEmpty() ? QString() : "." + suffix;
    // The run works in the folder of the picture on display, wherever the user keeps it: the
    // list stays there (the partner files are looked up in it) and the band dialogs start there.
    QString imageDirectory = QString::fromStdString(link_.Tree().CurrentWorkingDirectory);
    if (imageDirectory.isEmpty()) imageDirectory = QString::fromStdString(link_.ListDirectory());
    if (!imageDirectory.isEmpty() &&
        QDir(QString::fromStdString(link_.ListDirectory())) != QDir(imageDirectory)) {
        link_.ShowListDirectory(imageDirectory.toStdString());
    }
    colour_.SetDialogDirectory(imageDirectory);
    if (!AutoMode()) {
        colour_.SetAutoColour(false);
        // In the window's own text colour: its ground is black.
        processor_.SetMessage("Select the colour band to place this image into.", QColor());
        processor_.show();
        processor_.raise();
        return;
    }
    colour_.SetAutoColour(true);
    processor_.SetMessage("PROCESSING! PLEASE WAIT!", Qt::yellow);
    processor_.NotFoundTimer().start();
    IdentifyBands();
}

void ColourRun::IdentifyBands() {
    const DecodedProduct& product = link_.Decoded().product;
    picks_ = PickBands(product.EyeLetter, product.FilterDigit, processor_.Ticked());
    const std::string prefix = colour_.Prefix().toStdString();
    const std::string extension = extension_.toStdString();
    const auto preset = [&](char digit) {
        return QString::fromStdString(PresetBandName(prefix, digit, extension));
    };
    colour_.SetPresetNames(preset('4'), preset('5'), preset('6'));
    if (picks_.blue) LoadPicked(Band::Blue);
    if (picks_.green) LoadPicked(Band::Green);
    if (picks_.red) LoadPicked(Band::Red);
    Scan();
    ++counter_;
    processor_.Tick(TickedBand::None);
}

void ColourRun::LoadPicked(Band band) {
    static constexpr const char* kCaptions[] = {"Blue was loaded", "Green was loaded",
                                                "Red was loaded"};
    static const QColor kColours[] = {Qt::blue, QColor(0, 128, 0), Qt::red};
    const int i = static_cast<int>(band);
    colour_.SetStatus("Loaded", kColours[i]);
    colour_.SetBandIdCaption(kCaptions[i]);
    const QString name = AutoMode() ? colour_.PresetName(band) : selectedPath_;
    colour_.SetDialogFile(band, name);
    const QString path =
        QFileInfo(name).isAbsolute() ? name : QDir(colour_.WorkingDirectory()).filePath(name);
    if (name.isEmpty() || !QFileInfo(path).isFile()) return;
    colour_.LoadBand(band);
}

void ColourRun::Scan() {
    if (busy_ || stepping_) return;
    if (AutoMode()) {
        busy_ = true;
        colour_.SetAutoColour(true);
        Step();
    }
    platform_.desktop.Beep();
}

void ColourRun::Step() {
    if (!picks_.red || stepping_) return;
    stepping_ = true;
    const int start = link_.ListSelection();
    for (int i = 0; i < 2; ++i) {
        link_.StepList(1);
        link_.DisplayCurrent();
        ColourButton();
    }
    // Back on the filter 4 file, without displaying it again.
    link_.SelectListEntry(start);
    busy_ = false;
}

void ColourRun::Combined() {
    busy_ = false;
    stepping_ = false;
    counter_ = 0;
    processor_.hide();
    colour_.show();
    colour_.raise();
}

void ColourRun::AllBandsLoaded() {
    processor_.NotFoundTimer().stop();
}

}  // namespace kobrix
