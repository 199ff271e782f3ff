#pragma once
// TEditKeysDlg: up to four key combinations, pressed in order when a pasting
// rule of the keys method pastes.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TEditKeysDlg;
}
class THotKeyEdit;

class TEditKeysDlg : public TSLDialog {
  Q_OBJECT

 public:
  explicit TEditKeysDlg(QWidget* parent = nullptr);
  ~TEditKeysDlg() override;

  std::unique_ptr<Ui::TEditKeysDlg> ui;
  std::array<THotKeyEdit*, 4> hkKeys;
};

// Shows the first four entries of keys (decimal shortcut values); on OK the
// list becomes the unbroken run of non-empty fields from the first and true
// is returned; on Cancel the list stays as it was.
bool EditKeyCombination(QWidget* owner, std::vector<std::string>& keys);
