#pragma once
// The "Did you know..." dialog: a tip from the tip file, a Next Tip button
// and the check box that switches the tips at start-up on and off.
#include <string>
#include <vector>

#include "framework/SLDialogKeys.h"

class QCheckBox;
class QLabel;
class QPushButton;
class TSLApplication;

class TTipOfTheDayForm : public TSLDialog {
  Q_OBJECT

 public:
  explicit TTipOfTheDayForm(QWidget* parent = nullptr);

  QWidget* pTip;
  QWidget* pImage;
  QLabel* imgIcon;
  QWidget* pMessage;
  QWidget* pTop;
  QLabel* lbl01;
  QWidget* pLine;
  QLabel* lblMessage;
  QCheckBox* chkShowTips;
  QPushButton* cmdNextTip;
  QPushButton* cmdClose;

  std::vector<std::string> Tips;  // in shuffled order
  int TipIndex = 0;

  // Fills the dialog; false when there is no tip to show (no dialog then).
  bool LoadTips(const TSLApplication& Descriptor, bool ShowTips);
  void ShowTip(int index);

 public slots:
  void cmdNextTipClick();
};

// The picture of the dialog's left strip, about 30 by 42.
class QPixmap;
QPixmap DrawTipPicture();

// Shows the tip of the day when Asked (Help menu) or ShowTips (start-up) and
// returns the new value of the ShowTips preference; the caller stores it.
bool ShowTipOfTheDay(const TSLApplication& Descriptor, bool ShowTips, bool Asked);
