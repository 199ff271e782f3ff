#pragma once
// The about box: the program's name, version, legal notice and credits beside
// a framed icon, with buttons for the system information tool and technical
// support.
#include <string>

#include "framework/SLDialogKeys.h"

class QLabel;
class QPushButton;
class QFrame;
class TSLApplication;

class TAboutForm : public TSLDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QLabel* imgAbout;
  QWidget* pLeft;
  QWidget* pIcon01;
  QWidget* pIcon02;
  QWidget* pIcon03;
  QLabel* imgApplicationIcon;
  QLabel* lblApplicationName;
  QLabel* lblApplicationVersion;
  QLabel* lblCopyright;
  QLabel* lblOtherCopyrights;
  QFrame* bvlSeparator;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;
  QPushButton* cmdSupport;
};

// The tall picture that frames the about box's left panel: 65 by 249.
class QPixmap;
QPixmap DrawAboutPicture();

// Shows the about box modally over the main window.
void ShowAbout(const TSLApplication& Descriptor, const std::string& FontName);
