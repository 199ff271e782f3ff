#pragma once
// The splash that start-up shows during its pause: a borderless 500 by 400
// window over the splash picture with the legal notice, a warning line and
// the version line.
#include <QColor>
#include <QWidget>

class QLabel;
class QPixmap;
class TSLApplication;

class TSplashForm : public QWidget {
  Q_OBJECT

 public:
  explicit TSplashForm(QWidget* parent = nullptr);

  QLabel* ImgSplash;
  QLabel* lblCopyright;
  QLabel* lblWarning;
  QLabel* lblApplicationVersion;
};

// The splash picture, drawn by the program: 500 by 400.
QPixmap DrawSplashPicture();
// A new bitmap of the splash picture (the caller frees it), or null.
QPixmap* LoadSplashBitmap();

// Creates and shows the splash (one at a time), paints it at once and returns
// with it on screen. Bitmap may be null: the silver background shows.
void ShowSplash(const TSLApplication& Descriptor, const QPixmap* Bitmap, const QColor& TextColour);
// Closes and releases the splash, then processes pending events once.
void HideSplash();
// The splash on screen, or null.
TSplashForm* SplashForm();
