#include "app/thumbnail_sheet_window.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QSet>
#include <QThread>
#include <QVBoxLayout>
#include <atomic>
#include <functional>
#include <vector>

#include "archive/archive_file.h"
#include "decode/product_name.h"
#include "imaging/image_error.h"
#include "volume/thumbnail_cache.h"

namespace kobrix {
namespace {

QImage ToImage(const Bitmap24& bitmap) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_BGR888);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::copy_n(bitmap.Row(y), 3 * static_cast<std::size_t>(bitmap.Width()), image.scanLine(y));
    }
    return image;
}

QPixmap Placeholder(const QString& text) {
    QPixmap pixmap(ThumbnailSheetWindow::kEdge, ThumbnailSheetWindow::kEdge);
    pixmap.fill(QColor(60, 60, 60));
    QPainter painter(&pixmap);
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(pixmap.rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
    return pixmap;
}

// Labels beside a raw .IMG of the same name show once, as the picture. `lowerNames` holds
// every name of the folder in small letters.
bool IsLabelOfPicture(const QString& name, const QSet<QString>& lowerNames) {
    if (!name.endsWith(".lbl", Qt::CaseInsensitive)) return false;
    return lowerNames.contains(name.left(name.size() - 4).toLower() + ".img");
}

}  // namespace

// The rows of the sheet. A row's thumbnail is asked for the first time the view wants its
// picture, which it does only for rows it paints.
class ThumbnailSheetModel : public QAbstractListModel {
  public:
    enum class State { Waiting, Requested, Ready, Failed };
    struct Row {
        QString name;
        QString caption;
        State state = State::Waiting;
        QPixmap pixmap;
    };

    explicit ThumbnailSheetModel(QThreadPool& pool) : pool_(pool) {}

    void Reset(const QString& directory, std::vector<Row> rows, const QString& cacheFolder) {
        beginResetModel();
        ++generation_;
        directory_ = directory;
        rows_ = std::move(rows);
        cache_ = std::make_shared<ThumbnailCache>(cacheFolder.toStdString());
        requested_ = ready_ = made_ = 0;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        Row& row =
            const_cast<ThumbnailSheetModel*>(this)->rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole) return row.caption;
        if (role == Qt::ToolTipRole) return row.name;
        if (role != Qt::DecorationRole) return {};
        if (row.state == State::Waiting) const_cast<ThumbnailSheetModel*>(this)->Ask(index.row());
        if (row.state == State::Ready || row.state == State::Failed) return row.pixmap;
        static const QPixmap waiting = Placeholder("...");
        return waiting;
    }

    const Row& At(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int Requested() const { return requested_; }
    int Ready() const { return ready_; }
    int Made() const { return made_; }
    std::function<void()> changed;

  private:
    void Ask(int row) {
        rows_[static_cast<std::size_t>(row)].state = State::Requested;
        ++requested_;
        const std::string path =
            QDir(directory_).filePath(rows_[static_cast<std::size_t>(row)].name).toStdString();
        const int generation = generation_;
        std::shared_ptr<ThumbnailCache> cache = cache_;
        pool_.start([this, cache, path, row, generation] {
            QImage image;
            QString problem;
            bool made = false;
            try {
                image = ToImage(cache->Get(path, ThumbnailSheetWindow::kEdge, &made));
            } catch (const ImageError& e) {
                problem = QString::fromStdString(e.Problem());
            } catch (const std::bad_alloc&) {
                problem = "out of memory";
            }
            QMetaObject::invokeMethod(
                this,
                [this, row, generation, image, problem, made] {
                    Deliver(row, generation, image, problem, made);
                },
                Qt::QueuedConnection);
        });
    }

    void Deliver(int row, int generation, const QImage& image, const QString& problem, bool made) {
        if (generation != generation_ || row >= rowCount()) return;
        Row& item = rows_[static_cast<std::size_t>(row)];
        if (problem.isEmpty()) {
            item.state = State::Ready;
            item.pixmap = QPixmap::fromImage(image);
        } else {
            item.state = State::Failed;
            item.pixmap = Placeholder("cannot read:\n" + problem);
        }
        ++ready_;
        if (made) ++made_;
        const QModelIndex at = index(row);
        emit dataChanged(at, at, {Qt::DecorationRole});
        if (changed) changed();
    }

    QThreadPool& pool_;
    QString directory_;
    std::vector<Row> rows_;
    std::shared_ptr<ThumbnailCache> cache_;
    int generation_ = 0;
    int requested_ = 0;
    int ready_ = 0;
    int made_ = 0;
};

ThumbnailSheetWindow::ThumbnailSheetWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window),
      platform_(platform),
      model_(std::make_unique<ThumbnailSheetModel>(pool_)) {
    RegisterArchiveReader();  // before any worker reads
    setObjectName("ThumbnailSheetWindow");
    setWindowTitle("Thumbnail Sheet");
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    folder_ = new QLabel(this);
    folder_->setTextFormat(Qt::PlainText);
    folder_->setObjectName("SheetFolder");
    view_ = new QListView(this);
    view_->setObjectName("SheetView");
    view_->setViewMode(QListView::IconMode);
    view_->setMovement(QListView::Static);
    view_->setResizeMode(QListView::Adjust);
    view_->setUniformItemSizes(true);
    view_->setWordWrap(true);
    view_->setIconSize(QSize(kEdge, kEdge));
    view_->setGridSize(QSize(kEdge + 24, kEdge + 44));
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setModel(model_.get());
    progress_ = new QProgressBar(this);
    progress_->setObjectName("SheetProgress");
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setObjectName("SheetStatus");
    model_->changed = [this] { UpdateProgress(); };
    connect(view_, &QListView::clicked, this, [this](const QModelIndex& index) {
        emit fileChosen(directory_, model_->At(index.row()).name);
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(status_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folder_);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
    resize(720, 560);
}

ThumbnailSheetWindow::~ThumbnailSheetWindow() {
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailSheetWindow::SetCacheFolder(const QString& folder) {
    cacheFolder_ = folder;
}

void ThumbnailSheetWindow::ShowFolder(const QString& directory, const QStringList& names) {
    listed_ = names;
    pool_.clear();  // the queued rows of the folder before; running ones are dropped on arrival
    directory_ = directory;
    folder_->setText(directory);
    std::vector<ThumbnailSheetModel::Row> rows;
    rows.reserve(static_cast<std::size_t>(names.size()));
    DecodeContext context;
    context.zone = &platform_.timeZone;
    DecodeState state;
    QSet<QString> lowerNames;
    lowerNames.reserve(names.size());
    for (const QString& name : names) lowerNames.insert(name.toLower());
    for (const QString& name : names) {
        if (IsLabelOfPicture(name, lowerNames)) continue;
        const std::string text = name.toStdString();
        DecodeProductName(text, context, state);
        rows.push_back({name, QString::fromStdString(ThumbnailCaption(text, state)),
                        ThumbnailSheetModel::State::Waiting, QPixmap()});
    }
    model_->Reset(directory, std::move(rows), cacheFolder_);
    view_->scrollToTop();
    UpdateProgress();
}

void ThumbnailSheetWindow::Open(const QString& directory, const QStringList& names) {
    ShowFolder(directory, names);
    show();
    raise();
    activateWindow();
}

int ThumbnailSheetWindow::Count() const {
    return model_->rowCount();
}

int ThumbnailSheetWindow::Requested() const {
    return model_->Requested();
}

int ThumbnailSheetWindow::Ready() const {
    return model_->Ready();
}

int ThumbnailSheetWindow::Made() const {
    return model_->Made();
}

QString ThumbnailSheetWindow::Caption(int row) const {
    return model_->At(row).caption;
}

QString ThumbnailSheetWindow::Name(int row) const {
    return model_->At(row).name;
}

void ThumbnailSheetWindow::FinishWork() {
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(model_.get());
}

void ThumbnailSheetWindow::UpdateProgress() {
    // The bar tells of the work asked for, the rows scrolled into view; the text of the
    // whole folder.
    progress_->setRange(0, std::max(1, Requested()));
    progress_->setValue(Requested() == 0 ? 1 : Ready());
    status_->setText(QString("%1 of %2 thumbnails").arg(Ready()).arg(Count()));
}

}  // namespace kobrix
