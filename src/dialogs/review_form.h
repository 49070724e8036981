// The review window of found files: the kept results of the last analysis
// as a table of junk types and their files, sortable by every column, with
// a filter, a tick per file and per type and the totals of what is ticked.
// Double-click or Enter on a file opens its folder with the desktop; "Clean
// up ticked files" hands the ticked files to whoever runs the clean-up.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "app/found_review.h"
#include "platform/locale_info.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;

namespace vorlo {

class FoundReviewModel;
class PlacementStore;

struct ReviewActions {
  // "Clean up ticked files": the ticked files, with every type of the
  // results. True when a clean-up of them started; the window then closes.
  std::function<bool(FoundResults ticked)> cleanUp;
  // A failure to tell the person (a folder that no program could open).
  std::function<void(const std::string& text)> report;
};

class TReviewForm final : public QDialog {
  Q_OBJECT

 public:
  // Restores position and size from `placements`; saves them there when
  // closed.
  TReviewForm(PlacementStore& placements, NumberSeparators separators, ReviewActions actions,
              QWidget* parent = nullptr);
  ~TReviewForm() override;

  // Loads the results file. False when it cannot be loaded: LoadError()
  // then says why and the window is not to be shown.
  bool SetData(const std::string& resultsFile);
  const QString& LoadError() const { return loadError_; }

  const FoundReview* Review() const { return review_.get(); }

  void done(int r) override;

 private:
  void ApplyFilter();
  void ShowTotals();
  void OpenFolder(const QModelIndex& index);
  void CleanUp();

  PlacementStore& placements_;
  NumberSeparators separators_;
  ReviewActions actions_;
  std::unique_ptr<FoundReview> review_;
  FoundReviewModel* model_ = nullptr;
  QTreeView* tvFound_ = nullptr;
  QLineEdit* ebFilter_ = nullptr;
  QTimer* filterTimer_ = nullptr;
  QPushButton* btnCleanUp_ = nullptr;
  QLabel* lblTicked_ = nullptr;
  QString loadError_;
  std::set<uint32_t> collapsed_;  // the types the person collapsed
};

}  // namespace vorlo
