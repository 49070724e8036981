#include "editor/restriction_panel.h"

namespace vorlo {

TRestrictPanel::TRestrictPanel(double, QWidget* parent) : QWidget(parent) {}
TRestrictPanel::~TRestrictPanel() = default;

void TRestrictPanel::LoadFrom(const TJunkFileObj&) {}
RestrictionValues TRestrictPanel::Store() const { return values_; }
bool TRestrictPanel::OkRestrictions() const { return true; }

}  // namespace vorlo
