#include "dialogs/review_form.h"

#include <QByteArray>
#include <QDateTime>
#include <QFontMetrics>
#include <QStyle>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/review_texts.h"
#include "core/byte_text.h"
#include "core/text.h"
#include "dialogs/found_review_model.h"
#include "gui/desktop_open.h"
#include "gui/dialog_parts.h"
#include "gui/display_text.h"
#include "gui/placement.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "ReviewForm";
// Typing in the filter field filters once typing pauses.
constexpr int kFilterDelayMs = 200;
constexpr int kTypeWidth = 190;
constexpr int kNameWidth = 220;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// A folder as a file URL: every byte that is not plain percent-encoded, so
// that a name which is not UTF-8 reaches the file manager as it is.
QString FolderUrl(std::string_view folder) {
  const QByteArray bytes(folder.data(), static_cast<qsizetype>(folder.size()));
  return QString::fromLatin1("file://" + bytes.toPercentEncoding("/"));
}

}  // namespace

TReviewForm::TReviewForm(PlacementStore& placements, NumberSeparators separators, ReviewActions actions,
                         QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      placements_(placements),
      separators_(std::move(separators)),
      actions_(std::move(actions)) {
  SetUpWindow(*this, kWindowName, texts::kReviewCaption);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // Enter belongs to the table (it opens a file's folder): no button of the
  // strip is a default button.
  QPushButton* btnDone = AddDoneStrip(*this, *layout);
  btnDone->setDefault(false);
  btnDone->setAutoDefault(false);
  auto* strip = static_cast<QHBoxLayout*>(btnDone->parentWidget()->layout());
  btnCleanUp_ = new QPushButton(Text(texts::kCleanUpTicked), btnDone->parentWidget());
  btnCleanUp_->setObjectName(QStringLiteral("btnCleanUp"));
  btnCleanUp_->setAutoDefault(false);
  btnCleanUp_->setFixedHeight(23);
  btnCleanUp_->setMinimumWidth(btnCleanUp_->fontMetrics().horizontalAdvance(btnCleanUp_->text()) + 24);
  strip->insertWidget(1, btnCleanUp_);
  auto* lblFilter = new QLabel(Text(texts::kReviewFilter), btnDone->parentWidget());
  ebFilter_ = new QLineEdit(btnDone->parentWidget());
  ebFilter_->setObjectName(QStringLiteral("ebFilter"));
  ebFilter_->setPlaceholderText(Text(texts::kReviewFilterHint));
  ebFilter_->setClearButtonEnabled(true);
  ebFilter_->setFixedHeight(23);
  ebFilter_->setMinimumWidth(120);
  ebFilter_->setMaximumWidth(260);
  lblFilter->setBuddy(ebFilter_);
  strip->addWidget(lblFilter);
  strip->addWidget(ebFilter_, 1);

  tvFound_ = new QTreeView(this);
  tvFound_->setObjectName(QStringLiteral("tvFound"));
  tvFound_->setUniformRowHeights(true);  // a million rows lay out without asking each for its height
  tvFound_->setAllColumnsShowFocus(true);
  tvFound_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tvFound_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvFound_->setTextElideMode(Qt::ElideMiddle);
  layout->addWidget(tvFound_, 1);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(true);
  lblTicked_ = new QLabel(status);
  lblTicked_->setObjectName(QStringLiteral("lblTicked"));
  status->addWidget(lblTicked_, 1);
  layout->addWidget(status);

  filterTimer_ = new QTimer(this);
  filterTimer_->setSingleShot(true);
  filterTimer_->setInterval(kFilterDelayMs);
  connect(filterTimer_, &QTimer::timeout, this, &TReviewForm::ApplyFilter);
  connect(ebFilter_, &QLineEdit::textChanged, filterTimer_, qOverload<>(&QTimer::start));
  connect(ebFilter_, &QLineEdit::returnPressed, this, &TReviewForm::ApplyFilter);
  connect(btnCleanUp_, &QPushButton::clicked, this, &TReviewForm::CleanUp);
  connect(tvFound_, &QTreeView::activated, this, &TReviewForm::OpenFolder);

  btnCleanUp_->setEnabled(false);
  setMinimumSize(560, 300);
  resize(860, 520);
  placements_.GetPosFmINI(*this, kWindowName, true);
}

TReviewForm::~TReviewForm() = default;

bool TReviewForm::SetData(const std::string& resultsFile) {
  FoundResultsRead read = LoadFoundResults(resultsFile);
  if (!read.ok()) {
    loadError_ = DisplayText(read.message);
    return false;
  }
  loadError_.clear();
  const int64_t startedAt = read.results.startedAt;
  const bool stopped = read.results.stopped;
  auto review = std::make_unique<FoundReview>(std::move(read.results));
  auto* model = new FoundReviewModel(*review, separators_, this);
  QAbstractItemModel* old = tvFound_->model();
  tvFound_->setModel(model);
  delete old;
  review_ = std::move(review);
  model_ = model;
  connect(model_, &FoundReviewModel::ticksChanged, this, &TReviewForm::ShowTotals);
  collapsed_.clear();
  const auto typeOf = [this](const QModelIndex& index) { return review_->GroupType(index.row()); };
  connect(tvFound_, &QTreeView::collapsed, model_, [this, typeOf](const QModelIndex& i) { collapsed_.insert(typeOf(i)); });
  connect(tvFound_, &QTreeView::expanded, model_, [this, typeOf](const QModelIndex& i) { collapsed_.erase(typeOf(i)); });

  // Size and Modified as wide as their longest texts; Folder takes the rest.
  QHeaderView* header = tvFound_->header();
  header->setStretchLastSection(false);
  const QFontMetrics metrics(tvFound_->font());
  const int padding = 2 * tvFound_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tvFound_) + 12;
  const QString longestDate = QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(20, 58, 58)), QLocale::ShortFormat);
  const int widths[] = {kTypeWidth, kNameWidth, 0,
                        metrics.horizontalAdvance(DisplayText(StringForBytes(9'999'999'990, separators_))) + padding,
                        metrics.horizontalAdvance(longestDate) + padding};
  for (int c = 0; c < kReviewColumnCount; ++c) {
    if (widths[c] > 0) header->resizeSection(c, widths[c]);
    header->setSectionResizeMode(c, widths[c] > 0 ? QHeaderView::Interactive : QHeaderView::Stretch);
  }
  // The order the review starts in: types in list order, files by path.
  header->setSortIndicator(0, Qt::AscendingOrder);
  tvFound_->setSortingEnabled(true);
  tvFound_->expandAll();

  const QString when =
      QLocale().toString(QDateTime::fromSecsSinceEpoch(startedAt), QLocale::ShortFormat);
  setWindowTitle(DisplayText(
      FormatText(stopped ? texts::kReviewCaptionStopped : texts::kReviewCaptionOf, when.toUtf8().constData())));
  ShowTotals();
  return true;
}

void TReviewForm::done(int r) {
  placements_.SetPosToINI(*this, kWindowName, true);
  QDialog::done(r);
}

void TReviewForm::ApplyFilter() {
  filterTimer_->stop();
  if (!model_) return;
  model_->SetFilter(ebFilter_->text().toStdString());
  // A type the filter hid comes back as the person left it.
  for (size_t g = 0; g < review_->GroupCount(); ++g)
    if (!collapsed_.contains(review_->GroupType(g))) tvFound_->expand(model_->index(static_cast<int>(g), 0));
  ShowTotals();
}

void TReviewForm::ShowTotals() {
  if (!review_) return;
  const FoundReview::Totals& totals = review_->Count();
  lblTicked_->setText(DisplayText(ReviewStatusText(totals, separators_)));
  btnCleanUp_->setEnabled(totals.ticked > 0);
}

void TReviewForm::OpenFolder(const QModelIndex& index) {
  const std::optional<uint32_t> record = model_ ? model_->RecordAt(index) : std::nullopt;
  if (!record) return;
  const std::string folder(review_->Results().Folder(*record));
  OpenWithDesktop(FolderUrl(folder), this, [folder, report = actions_.report](bool opened) {
    if (!opened && report) report(FormatText(texts::kReviewNoProgram, ShownName(folder).c_str()));
  });
}

void TReviewForm::CleanUp() {
  if (!review_ || review_->Count().ticked == 0 || !actions_.cleanUp) return;
  if (actions_.cleanUp(review_->TickedResults())) accept();
}

}  // namespace vorlo
