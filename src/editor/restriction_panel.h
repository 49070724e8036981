// The restriction controls of the wizard's Deletes page: date or age, and
// size, each with its comparison and values, validated by OkRestrictions
// and drawn as a comparison diagram under each item.
#pragma once

#include <QWidget>
#include <cstdint>

#include "core/junk_type.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vorlo {

class TComparisonBox;

// The restriction fields of a junk type, as the controls hold them.
struct RestrictionValues {
  DateRestriction date;
  AgeRestriction age;
  SizeRestriction size;
  bool operator==(const RestrictionValues&) const = default;
};

class TRestrictPanel final : public QWidget {
  Q_OBJECT

 public:
  // `today`: the day number the date pickers start at.
  explicit TRestrictPanel(double today, QWidget* parent = nullptr);
  ~TRestrictPanel() override;

  // Shows the restrictions of TJ; call once on a new panel (a restriction
  // that is off keeps its controls as they are).
  void LoadFrom(const TJunkFileObj& TJ);
  RestrictionValues Store() const;
  // The restriction controls are complete and consistent.
  bool OkRestrictions() const;

 Q_SIGNALS:
  // After every change of a control (the wizard then runs EnDisButtons).
  void changed();

 private:
  void ckRstDateClick();
  void rbDateClick(int tag);
  void cbDateTypeChange();
  void ckRstSizeClick();
  void cbSizeTypeChange();
  void ebSizeChange(QLineEdit* edit);

  QCheckBox* ckRstDate_ = nullptr;
  QRadioButton* rbDate_ = nullptr;
  QRadioButton* rbAge_ = nullptr;
  TComparisonBox* cbDateType_ = nullptr;
  QComboBox* cbAgeDat1_ = nullptr;
  QDateEdit* dpDateDat1_ = nullptr;
  QComboBox* cbAgeDat2_ = nullptr;
  QDateEdit* dpDateDat2_ = nullptr;
  QLabel* lblDateAnd_ = nullptr;
  QCheckBox* ckRstSize_ = nullptr;
  TComparisonBox* cbSizeType_ = nullptr;
  QLineEdit* ebSizeDat1_ = nullptr;
  QLineEdit* ebSizeDat2_ = nullptr;
  QComboBox* cbSizeUnits_ = nullptr;
  QLabel* lblSizeAnd_ = nullptr;
};

}  // namespace vorlo
