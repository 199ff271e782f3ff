#pragma once
// SLMessageDetails: a message with an OK button and, when a details text is
// given, a "Details" button that folds out a read-only pane with that text.
// The application-wide error handler reports every error through it.
#include <QDialog>
#include <QString>
#include <string>

#include "framework/SLDialogCommon.h"
#include "framework/SLMessages.h"

class QLabel;
class QPushButton;
class QPlainTextEdit;

class TSLMessageDetails : public TSLEscapeDialog {
  Q_OBJECT

 public:
  explicit TSLMessageDetails(QWidget* parent = nullptr);

  // Outer heights of the window (frame included).
  static constexpr int kFoldedHeight = 102;
  static constexpr int kUnfoldedHeight = 212;
  static constexpr int kOuterWidth = 409;

  QLabel* imgCritical;
  QLabel* imgWarning;
  QLabel* imgInformation;
  QLabel* lblErrorMsg;
  QPushButton* cmdOK;
  QPushButton* cmdDetails;
  QPlainTextEdit* txtErrorDetails;

  // The state the Details button holds: 0 folded, 1 unfolded, with its captions.
  int DetailsState = 0;
  QString CaptionOK, CaptionFolded, CaptionUnfolded;

  // Makes the window's outer size width by height, whatever frame the window
  // manager gives it.
  void SetOuterHeight(int height);

 public slots:
  void cmdDetailsClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void ApplyOuterSize();
  int outerHeight_ = kFoldedHeight;
};

// Shows the message modally. Text and Details go through NormalizeLineBreaks;
// an empty Details hides the Details button; ShowDetails opens the pane
// unfolded. A bad Language or MessageType (smtQuestion included) throws
// std::runtime_error before anything is shown.
void SLMessageDetails(const std::string& Text, const std::string& Details,
                      const std::string& Caption, TSLMessageType MessageType, TSLLanguage Language,
                      const std::string& FontName, bool ShowDetails);
