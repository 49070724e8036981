// The found files window: the paths that a count of the junk type wizard
// found, one per line, read from the count's list file. Long paths scroll
// sideways.
#pragma once

#include <QDialog>
#include <string>

class QListWidget;

namespace vorlo {

class ExtentDelegate;
class PlacementStore;

class TFoundForm final : public QDialog {
  Q_OBJECT

 public:
  // Restores its position from `placements`; saves it there when closed.
  explicit TFoundForm(PlacementStore& placements, QWidget* parent = nullptr);

  // Fills the list from the text file `fName`, one entry per line, sizes its
  // sideways extent to the widest line and sets the caption with `Capn`.
  // False when the file cannot be read: LoadError() then names the file and
  // the window is not to be shown.
  bool SetData(const std::string& fName, const std::string& Capn);
  const QString& LoadError() const { return loadError_; }

  // Width in pixels of the widest line in the window's font; 0 when empty.
  int HorizontalExtent() const { return extent_; }

  void done(int r) override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  PlacementStore& placements_;
  QListWidget* lbFound_ = nullptr;
  ExtentDelegate* delegate_ = nullptr;
  int extent_ = 0;
  QString loadError_;
};

// The wizard's "view file list" step: the window filled from `fName` and
// shown modally, or an error box naming the file when it cannot be read.
void ShowFoundFiles(QWidget* parent, PlacementStore& placements, const std::string& fName,
                    const std::string& Capn);

}  // namespace vorlo
