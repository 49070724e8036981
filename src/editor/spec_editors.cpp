#include "editor/spec_editors.h"

namespace vorlo {

TSpecForm::TSpecForm(std::string iniPath, QWidget* parent) : QDialog(parent), iniPath_(std::move(iniPath)) {}
TSpecForm::~TSpecForm() = default;
void TSpecForm::SetSpec(const std::string& S) { spec_ = S; }
std::string TSpecForm::GetSpec() const { return spec_; }

TNameForm::TNameForm(std::string iniPath, QWidget* parent) : QDialog(parent), iniPath_(std::move(iniPath)) {}
TNameForm::~TNameForm() = default;
void TNameForm::SetSpec(const std::string& V) { spec_ = V; }
std::string TNameForm::GetSpec() const { return spec_; }

}  // namespace vorlo
