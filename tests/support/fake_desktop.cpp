#include "tests/support/fake_desktop.h"

namespace kobrix::testing {

UiPriority FakeDesktop::CurrentPriority() const {
    return priorities.empty() ? UiPriority::Normal : priorities.back();
}

bool FakeDesktop::OpenUrl(const QString& url) {
    urls.push_back(url);
    return urlOpens;
}

bool FakeDesktop::OpenInTextEditor(const QString& path) {
    editorFiles.push_back(path);
    return editorOpens;
}

bool FakeDesktop::StartProgram(const QString& path) {
    programs.push_back(path);
    return programStarts;
}

bool FakeDesktop::SetUiPriority(UiPriority priority, QString* why) {
    if (!priorityAccepted) {
        if (why != nullptr) *why = QStringLiteral("Permission denied");
        return false;
    }
    priorities.push_back(priority);
    return true;
}

bool FakeDesktop::AddFontFile(const QString& path) {
    fontFiles.push_back(path);
    return fontAdds;
}

void FakeDesktop::Wait(int milliseconds) {
    waits.push_back(milliseconds);
    if (onWait) onWait(milliseconds);
}

}  // namespace kobrix::testing
