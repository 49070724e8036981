// The restriction controls of the wizard's Deletes page: date or age, and
// size, each with its comparison and values, validated by OkRestrictions
// and drawn as a comparison diagram under each item.
#pragma once

#include <QWidget>
#include <cstdint>

#include "core/junk_type.h"

namespace vorlo {

// The restriction fields of a junk type, as the controls hold them.
struct RestrictionValues {
  bool dateRestrict = false;
  int32_t dateRestrictType = 0;
  double dateData1 = 0, dateData2 = 0;
  bool ageRestrict = false;
  int32_t ageRestrictType = 0, ageData1 = 0, ageData2 = 0;
  bool sizeRestrict = false;
  int32_t sizeRestrictType = 0, sizeData1 = 0, sizeData2 = 0, sizeUnit = 0;
};

class TRestrictPanel final : public QWidget {
  Q_OBJECT

 public:
  // `today`: the day number the date pickers start at.
  explicit TRestrictPanel(double today, QWidget* parent = nullptr);
  ~TRestrictPanel() override;

  void LoadFrom(const TJunkFileObj& TJ);
  RestrictionValues Store() const;
  bool OkRestrictions() const;

 Q_SIGNALS:
  // After every change of a control (the wizard then runs EnDisButtons).
  void changed();

 private:
  RestrictionValues values_;
};

}  // namespace vorlo
