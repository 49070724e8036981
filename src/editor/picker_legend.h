// The folder picker's legend (TLegendForm): a small always-on-top tool window
// that explains the folder pictures. Created hidden with the picker; Enter
// and Escape hide it again.
#pragma once

#include <QDialog>

class QTreeWidget;

namespace vorlo {

class PlacementStore;
class TDirSelImages;

class TLegendForm final : public QDialog {
  Q_OBJECT

 public:
  TLegendForm(const TDirSelImages& imDirSel, PlacementStore& placements, QWidget* parent = nullptr);

  QTreeWidget* tvLegend() const { return tvLegend_; }

  // The legend goes with the picker, shown or not: the picker saves the
  // legend's position when it closes itself.
  void SavePlacement();

 Q_SIGNALS:
  // Shown or hidden, so the picker can keep its "Le&gend" check mark right.
  void VisibilityChanged(bool visible);

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void btnOKClick();

  PlacementStore& placements_;
  QTreeWidget* tvLegend_ = nullptr;
};

}  // namespace vorlo
