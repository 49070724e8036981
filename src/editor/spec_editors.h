// The file specification editors: TSpecForm for delete specifications and
// TNameForm for protect specifications (a pattern or a full path).
#pragma once

#include <QDialog>
#include <string>

namespace vorlo {

class TSpecForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TSpecForm(std::string iniPath, QWidget* parent = nullptr);
  ~TSpecForm() override;
  void SetSpec(const std::string& S);
  std::string GetSpec() const;

 private:
  std::string iniPath_;
  std::string spec_;
};

class TNameForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TNameForm(std::string iniPath, QWidget* parent = nullptr);
  ~TNameForm() override;
  void SetSpec(const std::string& V);
  std::string GetSpec() const;

 private:
  std::string iniPath_;
  std::string spec_;
};

}  // namespace vorlo
