#pragma once
// Small pieces shared by the framework's dialogs: text conversion at the UI
// edge, the dialog font rule, the standard pictures and window placement.
#include <QDialog>
#include <QLabel>
#include <QString>
#include <QStyle>
#include <initializer_list>
#include <string>

class QWidget;
class QKeyEvent;

// A message dialog: Escape closes it on the key's release (the press is
// swallowed, so QDialog does not reject on it first).
class TSLEscapeDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;  // FormKeyUp
};

// Texts are UTF-8 byte strings: the narrow encoding of Linux, and of the
// Windows program, whose manifest makes UTF-8 its ANSI code page. Explicit
// UTF-8, not Qt's "local 8-bit", which on Windows is the system's legacy
// code page whatever the manifest says (seen under Wine: "Grüße" became
// "GrÃ¼ÃŸe" in the tray menu and in the pasted text). QString only here.
inline QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
inline std::string FromQ(const QString& s) {
  return s.toUtf8().toStdString();
}

// The face the framework's dialogs are designed in.
inline constexpr const char* kDialogFontName = "Tahoma";

// Whether a font family of that name is installed (letter case ignored).
bool IsFontInstalled(const std::string& name);
// Tahoma 8 point, or the named font (8 point) when it is non-empty and installed.
void ApplyDialogFont(QWidget* dialog, const std::string& fontName);
// The dialog font without the installed check (the about box and the tips).
void SetDialogFont(QWidget* dialog, const std::string& fontName);

// A hidden 32 by 32 picture label with the style's standard symbol.
QLabel* NewPicture(QWidget* parent, const char* name, QStyle::StandardPixmap symbol);

// The application title: the caption a message dialog gets when the caller names none.
QString ApplicationTitle();

void CentreOnScreen(QWidget* window);
void CentreOver(QWidget* window, QWidget* over);

// Line ends as Qt shows them: CR LF and lone CR become LF.
QString DisplayLines(const std::string& s);

// Fills the "%s" placeholders of a pattern in order.
QString FormatS(QString pattern, std::initializer_list<QString> values);
