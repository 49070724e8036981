#include "dialogs/default_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/dialog_parts.h"
#include "gui/description_view.h"
#include "gui/display_text.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "DefaultForm";
constexpr const char* kCaption = "Vorlo - Default junk file types";
constexpr const char* kTypeColumn = "Type";
constexpr const char* kOK = "OK";
constexpr const char* kCancel = "Cancel";

// The list reports every left click, also one below the last row (which
// clears the selection: the view's own rule for single selection).
class ClickList final : public QTreeWidget {
  Q_OBJECT

 public:
  using QTreeWidget::QTreeWidget;

 Q_SIGNALS:
  void mouseClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    QTreeWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) Q_EMIT mouseClicked();
  }
};

}  // namespace

TDefaultForm::TDefaultForm(bool RecycleProb, const DefaultFolders& folders, DescriptionContext context,
                           QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  SetUpWindow(*this, kWindowName, kCaption);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setHandleWidth(5);
  splitter->setChildrenCollapsible(false);
  auto* list = new ClickList(splitter);
  lvDefs_ = list;
  lvDefs_->setObjectName(QStringLiteral("lvDefs"));
  lvDefs_->setColumnCount(1);
  lvDefs_->setHeaderLabels({QString::fromLatin1(kTypeColumn)});
  lvDefs_->header()->setStretchLastSection(true);
  lvDefs_->header()->setSectionsMovable(false);
  lvDefs_->setRootIsDecorated(false);
  lvDefs_->setUniformRowHeights(true);
  lvDefs_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvDefs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  reProps_ = new QTextEdit(splitter);
  reProps_->setObjectName(QStringLiteral("reProps"));
  reProps_->setReadOnly(true);
  reProps_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reProps_->setMinimumSize(188, 238);
  splitter->addWidget(lvDefs_);
  splitter->addWidget(reProps_);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  layout->addWidget(splitter, 1);

  auto* strip = new QWidget(this);
  strip->setFixedHeight(27);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(8, 2, 8, 2);
  stripLayout->addStretch(1);
  btnOK_ = new QPushButton(QString::fromLatin1(kOK), strip);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnOK_->setEnabled(false);
  auto* btnCancel = new QPushButton(QString::fromLatin1(kCancel), strip);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  for (QPushButton* b : {btnOK_, btnCancel}) {
    b->setFixedSize(75, 23);
    stripLayout->addWidget(b);
  }
  layout->addWidget(strip);

  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(list, &ClickList::mouseClicked, this, &TDefaultForm::lvDefsClick);

  resize(521, 366);
  splitter->setSizes({217, width() - 217 - splitter->handleWidth()});
  move(233, 167);

  AddAllDefaults(types_, RecycleProb, folders, DefaultsFor::Chooser);
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(types_.size()));
  for (const TJunkFileObj& t : types_) {
    auto* row = new QTreeWidgetItem({DisplayText(t.TypName())});
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    rows.append(row);
  }
  lvDefs_->addTopLevelItems(rows);
  if (!rows.isEmpty()) {
    lvDefs_->setCurrentItem(rows.first());
    lvDefsClick();
  }
  lvDefs_->setFocus();
}

TDefaultForm::~TDefaultForm() = default;

std::optional<size_t> TDefaultForm::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = lvDefs_->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  const int row = lvDefs_->indexOfTopLevelItem(selected.first());
  if (row < 0 || static_cast<size_t>(row) >= types_.size()) return std::nullopt;
  return static_cast<size_t>(row);
}

void TDefaultForm::lvDefsClick() {
  const auto row = SelectedRow();
  btnOK_->setEnabled(row.has_value());
  if (row) REDisplay(*reProps_, types_[*row], context_);
}

std::unique_ptr<TJunkFileObj> TDefaultForm::GetTheObj() const {
  const auto row = SelectedRow();
  if (!row) return nullptr;
  return std::make_unique<TJunkFileObj>(types_[*row]);
}

}  // namespace vorlo

#include "default_form.moc"
