// The folder picker's legend (TLegendForm): a small always-on-top tool window
// that explains the folder pictures. Created hidden with the picker; Enter
// and Escape hide it again.
#pragma once

#include <QDialog>
#include <string>

class QTreeWidget;

namespace vorlo {

class TDirSelImages;

class TLegendForm final : public QDialog {
  Q_OBJECT

 public:
  TLegendForm(const TDirSelImages& imDirSel, std::string iniPath, QWidget* parent = nullptr);
  ~TLegendForm() override;

  QTreeWidget* tvLegend() const { return tvLegend_; }

 Q_SIGNALS:
  // Shown or hidden, so the picker can keep its "Le&gend" check mark right.
  void VisibilityChanged(bool visible);

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void btnOKClick();

  std::string iniPath_;
  QTreeWidget* tvLegend_ = nullptr;
};

}  // namespace vorlo
