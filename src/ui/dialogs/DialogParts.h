#pragma once
// Pieces the program's own dialogs share: the descriptor's caption, language
// and font for messages, buttons that show and run an action, and the filter
// that drops typed characters a field must never receive.
#include <QObject>
#include <QString>
#include <string>

#include "framework/SLMessages.h"

class QAbstractButton;
class QAction;
class QWidget;

// The descriptor's Title, English flag and FontName (defaults before start-up).
std::string DialogCaption();
bool DialogEnglish();
std::string DialogFontName();

// SLMessage with the descriptor's caption, language and font.
TSLMessageResult AskUser(const std::string& text, TSLMessageType type, TSLMessageButtons buttons,
                         int defaultButton);

// The button mirrors the action's enabled state and runs it when clicked
// (through the action's list, so a disabled command does nothing).
void BindButton(QAbstractButton* button, QAction* action);

// FormKeyUp for the whole dialog: line edits accept their key releases, so
// Esc and F1 released in one never reach the dialog. This hands those two
// keys' releases in any child of `dialog` to HandleDialogKey (Esc only when
// `escape` is set) and keeps them from reaching the dialog a second time.
void RelayDialogKeys(QWidget* dialog, bool escape = true);

// Drops every typed character found in `refused` from the key presses of
// the widgets it watches. Text that arrives otherwise (the clipboard, a
// program setting the text) is not filtered.
class TTypedCharFilter : public QObject {
  Q_OBJECT

 public:
  TTypedCharFilter(QObject* owner, QString refused);
  void Watch(QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString refused_;
};
