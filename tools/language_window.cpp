#include "tools/language_window.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "browse/browsing_link.h"
#include "tools/core/charsets.h"
#include "tools/script_fonts.h"
#include "widgets/controls.h"

namespace kobrix {
namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

LanguageWindow::LanguageWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("MagnifierB200746");
    setWindowTitle("Language");
    PaintBackground(*this, Qt::yellow);

    auto* root = new QVBoxLayout(this);
    auto* heading = PlainLabel("Language Control", this);
    MakeBold(*heading);
    root->addWidget(heading);
    sample_ = new QLineEdit("Sample Text", this);
    sample_->setObjectName("Edit1");
    root->addWidget(sample_);

    auto* grid = new QGridLayout;
    grid->addWidget(PlainLabel("Current Default Language", this), 0, 0);
    defaultLanguage_ = NamedLabel("DefaultLanguage", QString(), this);
    grid->addWidget(defaultLanguage_, 1, 0);
    grid->addWidget(PlainLabel("Currently Selected Language", this), 0, 1);
    grid->addWidget(NamedLabel("SelectedLanguage", QString(), this), 1, 1);
    grid->addWidget(PlainLabel("Cuurently Available Charachter Sets", this), 2, 0);
    available_ = new QListWidget(this);
    available_->setObjectName("AvailableCharsets");
    grid->addWidget(available_, 3, 0);
    grid->addWidget(PlainLabel("FONT NAME", this), 2, 1);
    fontName_ = NamedLabel("FontNameLabel", QString(), this);
    grid->addWidget(fontName_, 3, 1, Qt::AlignTop);

    charsets_ = new QListWidget(this);
    charsets_->setObjectName("CharsetList");
    for (const CharsetEntry& entry : CharsetEntries()) charsets_->addItem(Q(entry.label));
    while (charsets_->count() < kLanguageWindowCharsetRows) charsets_->addItem(QString());
    languages_ = new QListWidget(this);
    languages_->setObjectName("LanguageList");
    for (const LanguageEntry& entry : LanguageEntries()) languages_->addItem(Q(entry.label));
    grid->addWidget(charsets_, 4, 0);
    grid->addWidget(languages_, 4, 1);
    root->addLayout(grid);
    OnListChoice(*charsets_, [this](int row) { ChooseCharset(row); });
    OnListChoice(*languages_,
                 [this](int row) { RunGuarded(platform_.prompts, [&] { ChooseLanguage(row); }); });

    auto* buttons = new QHBoxLayout;
    QPushButton* button3 = PlainButton("Button3", "Button3", this);
    QPushButton* show = PlainButton("Show", "Show", this);
    QPushButton* loadFonts = PlainButton("LoadFonts", "Load Fonts", this);  // does nothing
    QPushButton* close = PlainButton("Close", "Close", this);
    index_ = NamedLabel("IndexLabel", QString(), this);
    for (QWidget* w : std::initializer_list<QWidget*>{button3, show, loadFonts, index_, close}) {
        buttons->addWidget(w);
    }
    root->addLayout(buttons);
    connect(button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(show, &QPushButton::clicked, this, [this] { ShowClick(); });
    connect(close, &QPushButton::clicked, this, [this] { hide(); });
}

void LanguageWindow::Attach(BrowsingLink& link,
                            std::function<void(const QString&)> setTaggingFont) {
    link_ = &link;
    setTaggingFont_ = std::move(setTaggingFont);
}

QString LanguageWindow::SampleFontFamily() const {
    return sample_->font().family();
}

void LanguageWindow::Button3Click() {
    // The identifier ("en_GB") and its name in the language itself ("British English").
    const QString id = platform_.desktop.DefaultLanguage();
    const QLocale locale(id);
    QString name = QLocale::languageToString(locale.language());
    if (locale.territory() != QLocale::AnyTerritory) {
        name += " (" + QLocale::territoryToString(locale.territory()) + ")";
    }
    defaultLanguage_->setText(locale.language() == QLocale::C ? id : name);
}

void LanguageWindow::ShowClick() {
    Button3Click();
    available_->clear();
    for (std::string_view name : SortedCharsetNames()) available_->addItem(Q(name));
}

void LanguageWindow::ChooseCharset(int row) {
    index_->setText(QString::number(row));
    const auto entries = CharsetEntries();
    if (row < 0 || row >= static_cast<int>(entries.size())) return;  // the empty entries
    charset_ = entries[static_cast<std::size_t>(row)].code;
    QFont font = ScriptFont(sample_->font().family(), charset_, sample_->font().pointSize());
    sample_->setFont(font);
    const QSignalBlocker quiet(charsets_);  // shown, not chosen again
    charsets_->setCurrentRow(row);
}

void LanguageWindow::ChooseLanguage(int row) {
    const auto languages = LanguageEntries();
    if (row < 0 || row >= static_cast<int>(languages.size())) return;
    const LanguageEntry& language = languages[static_cast<std::size_t>(row)];
    index_->setText(QString::number(row));
    // The language's font files from the program directory; missing ones are skipped.
    if (link_ != nullptr) {
        const QDir programDirectory(QString::fromStdString(link_->Tree().I_Am_Here_Directory));
        for (std::string_view file : language.fontFiles) {
            if (file.empty()) continue;
            const QString path = programDirectory.filePath(Q(file));
            if (QFileInfo::exists(path) && platform_.desktop.AddFontFile(path)) added_ << path;
        }
    }
    charset_ = language.code;
    const QString family = Q(language.font);
    if (setTaggingFont_) setTaggingFont_(family);
    sample_->setFont(ScriptFont(family, charset_, sample_->font().pointSize()));
    fontName_->setText(family);
    {
        const QSignalBlocker quiet(charsets_);  // shown; the entry's code is already set
        charsets_->setCurrentRow(language.charsetEntry);
    }
    if (link_ != nullptr) {
        link_->SetCaptureTimeCharset(charset_);
        link_->SetUserTag(true);
    }
    index_->setText(QString::number(row));
}

}  // namespace kobrix
