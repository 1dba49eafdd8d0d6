// The main window's stereo actions: the pair of the displayed image in the stereo viewer, the
// viewer's browsing, and the manual selection of the two eyes.
#include <QAction>
#include <QLabel>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/manual_stereo_window.h"
#include "app/print_mode.h"
#include "app/stereo_viewer.h"
#include "imaging/bitmap24.h"
#include "volume/derived_products.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kMonoHint = "Monoscopic image, Stereo View Impossible";

void ShowWindow(QWidget& window) {
    window.show();
    window.raise();
}

}  // namespace

void MainWindow::ConnectStereo() {
    if (StereoViewer* viewer = peers_.stereoViewer) {
        const auto button = [this, viewer](auto signal, void (MainWindow::*handler)()) {
            connect(viewer, signal, this,
                    [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
        };
        button(&StereoViewer::nextClicked, &MainWindow::StereoNextImage);
        button(&StereoViewer::previousClicked, &MainWindow::StereoPreviousImage);
        button(&StereoViewer::closeClicked, &MainWindow::StereoViewerClosed);
        button(&StereoViewer::manualStereoClicked, &MainWindow::Button11Click);
        button(&StereoViewer::linearizedToggled, &MainWindow::LinearizedStereoToggled);
        printMode_->Register(&viewer->PrintButton());
        connect(viewer, &StereoViewer::printClicked, this,
                [this, viewer] { Guard([this, viewer] { printMode_->PrintOrCopy(*viewer); }); });
    }
    if (ManualStereoWindow* manual = peers_.manualStereo) {
        const auto button = [this, manual](auto signal, void (MainWindow::*handler)()) {
            connect(manual, signal, this,
                    [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
        };
        button(&ManualStereoWindow::nextClicked, &MainWindow::ManualStereoNext);
        button(&ManualStereoWindow::previousClicked, &MainWindow::ManualStereoPrevious);
        button(&ManualStereoWindow::closeClicked, &MainWindow::ManualStereoClosed);
        button(&ManualStereoWindow::viewInStereoClicked, &MainWindow::ViewInStereo);
    }
}

std::pair<QString, QString> MainWindow::AnaglyphPairFromViewer() {
    StereoViewer* viewer = peers_.stereoViewer;
    if (viewer == nullptr) return {};
    StereoViewerTexts texts = viewer->Texts();
    texts.leftFilter.clear();
    viewer->ShowTexts(texts);
    // The viewer may show the linearized pair of a picture the main window has left behind:
    // what it shows is what the anaglyph is made of.
    if (!linearizedShown_.rightEye.empty()) {
        return {QString::fromStdString(linearizedShown_.rightEye),
                QString::fromStdString(linearizedShown_.leftEye)};
    }
    const std::string directory = WithTrailingSeparator(Tree().CurrentWorkingDirectory);
    const auto path = [&](const std::string& caption) {
        const std::string wanted = directory + caption;
        const std::string found = ResolvePartnerPath(wanted, browser_.Files().Names());
        return QString::fromStdString(found.empty() ? wanted : found);
    };
    return {path(texts.rightEyeCaption), path(texts.leftEyeCaption)};
}

bool MainWindow::LoadPartner(const std::string& wanted, bool rightEye) {
    const std::string path = ResolvePartnerPath(wanted, browser_.Files().Names());
    if (path.empty()) return false;
    Bitmap24 picture;
    if (LoadPictureFile(path, picture) != LoadOutcome::Loaded) return false;
    if (peers_.stereoViewer) {
        PictureView& view =
            rightEye ? peers_.stereoViewer->RightEyeView() : peers_.stereoViewer->LeftEyeView();
        view.SetBitmap(picture);
    }
    return true;
}

void MainWindow::Button13Click() {
    browser_.Image();
    SyncFileList();
    stereo_.pairShown = stereo_.rightLoaded = stereo_.leftLoaded = true;
    const DecodeState& decoded = browser_.Decoded();
    if (decoded.panel.stereoHint == kMonoHint) {
        platform_.prompts.Information("Monoscopic image, Stereo View Impossible!");
        return;
    }
    if (decoded.product.RightEyeName == "N/A") return;
    ShowPairOfDisplayed();
}

void MainWindow::ShowPairOfDisplayed() {
    const DecodeState& decoded = browser_.Decoded();
    // The paths are built first: a damaged partner's error leaves the viewer as it was.
    const std::string& directory = browser_.Files().Directory();
    const std::string extension = PartnerExtension(browser_.PicturePath());
    const auto [right, left] =
        ChooseStereoSources(JoinPath(directory, decoded.product.RightEyeName + extension),
                            JoinPath(directory, decoded.product.LeftEyeName + extension));
    stereo_.rightLoaded = LoadPartner(right, true);
    stereo_.leftLoaded = LoadPartner(left, false);
    if (peers_.stereoViewer) {
        StereoViewerTexts texts = peers_.stereoViewer->Texts();
        texts.rightFilter = texts.leftFilter = decoded.panel.filter;
        peers_.stereoViewer->ShowTexts(texts);
    }
    Button4Click();
}

std::pair<std::string, std::string> MainWindow::ChooseStereoSources(const std::string& right,
                                                                    const std::string& left) {
    linearizedShown_ = {};
    StereoViewer* viewer = peers_.stereoViewer;
    if (viewer == nullptr) return {right, left};
    const std::vector<std::string>& names = browser_.Files().Names();
    const std::string rightFile = ResolvePartnerPath(right, names);
    const std::string leftFile = ResolvePartnerPath(left, names);
    std::optional<LinearizedPair> linearized;
    if (!rightFile.empty() && !leftFile.empty()) linearized = LinearizedPairOf(rightFile, leftFile);
    viewer->OfferLinearized(linearized.has_value());
    if (!linearized || !viewer->LinearizedChosen()) return {right, left};
    linearizedShown_ = {browser_.Decoded().product.RightEyeName, linearized->rightEye,
                        linearized->leftEye};
    return {linearized->rightEye, linearized->leftEye};
}

void MainWindow::LinearizedStereoToggled() {
    // Only offered while a pair is on display: that pair again, from the other files.
    const DecodeState& decoded = browser_.Decoded();
    if (!stereo_.pairShown || decoded.product.RightEyeName == "N/A") return;
    ShowPairOfDisplayed();
}

void MainWindow::Button4Click() {
    StereoViewer* viewer = peers_.stereoViewer;
    if (!viewer) return;
    StereoViewerTexts texts = viewer->Texts();
    const DecodeState& decoded = browser_.Decoded();
    const std::string extension = PartnerExtension(browser_.PicturePath());
    ApplyStereoAction(decoded.panel, stereo_, decoded.product.RightEyeName + extension,
                      decoded.product.LeftEyeName + extension, texts);
    // The captions name the files on show: the linearized products where they stand in.
    if (!linearizedShown_.rightEye.empty() &&
        linearizedShown_.forRightEyeName == decoded.product.RightEyeName) {
        const auto fileName = [](const std::string& path) {
            return path.substr(path.rfind('/') + 1);
        };
        texts.rightEyeCaption = fileName(linearizedShown_.rightEye);
        texts.leftEyeCaption = fileName(linearizedShown_.leftEye);
    }
    viewer->ShowTexts(texts);
    if (stereo_.pairShown) ShowWindow(*viewer);
}

bool MainWindow::LoadStereoPair(const StereoAutoshowRequest& request) {
    // Autoshow says nothing about a missing or damaged partner: browsing moves on.
    const DecodeState& decoded = browser_.Decoded();
    stereo_.rightLoaded = stereo_.leftLoaded = true;
    const auto load = [this](const std::string& name, bool rightEye) {
        try {
            return LoadPartner(name, rightEye);
        } catch (const std::exception&) {
            return false;
        }
    };
    if (decoded.product.RightEyeName == "N/A") {
        stereo_.rightLoaded = stereo_.leftLoaded = false;
        return false;
    }
    // Crossed: the right eye's picture goes to the viewer's left-hand area.
    // An archive file's partners carry its own extension; the decode names them ".jpg".
    const std::string extension = PartnerExtension(browser_.PicturePath());
    const auto [right, left] =
        ChooseStereoSources(WithPartnerExtension(request.leftPicturePath, extension),
                            WithPartnerExtension(request.rightPicturePath, extension));
    stereo_.rightLoaded = load(right, true);
    stereo_.leftLoaded = load(left, false);
    if (!stereo_.rightLoaded || !stereo_.leftLoaded) return false;
    stereo_.pairShown = true;
    if (peers_.stereoViewer) {
        // The filter of the pair, which the Stereo button also shows.
        StereoViewerTexts texts = peers_.stereoViewer->Texts();
        texts.rightFilter = texts.leftFilter = decoded.panel.filter;
        peers_.stereoViewer->ShowTexts(texts);
    }
    Button4Click();
    return true;
}

void MainWindow::StereoNextImage() {
    const int steps = StereoStepEntries(browser_.Decoded().product.EyeLetter, true);
    for (int i = 0; i < steps; ++i) browser_.Files().MoveNext();
    browser_.Image();
    Button4Click();
    if (stereo_.pairShown) Button13Click();
}

void MainWindow::StereoPreviousImage() {
    const int steps = StereoStepEntries(browser_.Decoded().product.EyeLetter, false);
    for (int i = 0; i < steps; ++i) browser_.Files().MovePrevious();
    browser_.Image();
    Button4Click();
    browser_.SetBrowseBackward(true);
    if (stereo_.pairShown) Button13Click();
}

void MainWindow::StereoViewerClosed() {
    stereo_.pairShown = false;
}

void MainWindow::ShowStereoViewer() {
    if (peers_.stereoViewer) ShowWindow(*peers_.stereoViewer);
}

void MainWindow::Button11Click() {
    stereo_.pairShown = true;
    QAction* autoshow = menu_->Item("Check Stereo Autoshow");
    autoshow->setChecked(false);
    browser_.Options().stereoAutoshow = false;
    ManualStereoWindow* manual = peers_.manualStereo;
    if (!manual) return;
    const DecodedPanel& panel = browser_.Decoded().panel;
    ManualStereoWindow::Current current;
    current.picture = image1_->Image();
    current.eye = panel.eye;
    current.filter = panel.filter;
    current.fileName = panel.fileNameBox;
    current.earthTime = panel.utcTime + " (UTC)";
    current.rover = panel.roverNumber;
    current.sol = panel.sol;
    current.camera = panel.camera;
    manual->ShowCurrent(current);
    ShowWindow(*manual);
}

void MainWindow::ManualStereoNext() {
    browser_.Files().MoveNext();
    browser_.Image();
    Button11Click();
}

void MainWindow::ManualStereoPrevious() {
    browser_.Files().MovePrevious();
    browser_.Image();
    Button11Click();
    browser_.SetBrowseBackward(true);
}

void MainWindow::ManualStereoClosed() {
    stereo_.pairShown = false;
}

void MainWindow::ViewInStereo() {
    StereoViewer* viewer = peers_.stereoViewer;
    ManualStereoWindow* manual = peers_.manualStereo;
    if (!viewer || !manual) return;
    const ManualStereoWindow::Current& current = manual->CurrentImage();
    StereoViewerTexts texts = viewer->Texts();
    ApplyManualStereo(manual->LeftEye(), manual->RightEye(), current.sol, current.rover,
                      current.camera, texts);
    viewer->ShowTexts(texts);
    // The hand-picked pair stands in for whatever the viewer showed, linearized or not.
    linearizedShown_ = {};
    viewer->OfferLinearized(false);
    viewer->SetRightEyePicture(manual->RightPicture());
    viewer->SetLeftEyePicture(manual->LeftPicture());
    ShowWindow(*viewer);
}

}  // namespace kobrix
