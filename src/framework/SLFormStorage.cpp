#include "framework/SLFormStorage.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cstdio>

#include "library/SLRegistry.h"

namespace {

std::string ScreenSuffix(const QWidget* form) {
  QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return "(0x0)";
  const QSize size = screen->size();
  return "(" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ")";
}

int PixelsPerInch(const QWidget* form) {
  QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

bool ParseFour(const std::string& text, int v[4]) {
  return std::sscanf(text.c_str(), "%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]) == 4;
}

}  // namespace

TSLFormStorage::TSLFormStorage(QWidget* form) : QObject(form), form_(form) {
  setObjectName("Storage");
  form->installEventFilter(this);
}

void TSLFormStorage::AddProperty(const std::string& name, std::function<std::string()> get,
                                 std::function<void(const std::string&)> set) {
  properties_.push_back({name, std::move(get), std::move(set)});
}

std::string TSLFormStorage::ReadString(const std::string& name,
                                       const std::string& defaultValue) const {
  return ReadRegString(RegistryRoot, SectionKey(), name, defaultValue);
}

void TSLFormStorage::WriteString(const std::string& name, const std::string& value) const {
  WriteRegString(RegistryRoot, SectionKey(), name, value);
}

bool TSLFormStorage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::Show && !restored_ && Active)
    RestoreFormPlacement();
  return QObject::eventFilter(watched, event);
}

void TSLFormStorage::RestoreFormPlacement() {
  if (!form_) return;
  restored_ = true;
  saved_ = false;
  const std::string suffix = ScreenSuffix(form_);
  std::string normPos = ReadString("NormPos" + suffix, "");
  if (normPos.empty()) normPos = ReadString("NormPos", "");
  int r[4];
  const bool samePpi = ReadString("PixelsPerInch", "") == std::to_string(PixelsPerInch(form_));
  if (samePpi && ParseFour(normPos, r) && r[0] < r[2] && r[1] < r[3])
    form_->setGeometry(QRect(QPoint(r[0], r[1]), QPoint(r[2] - 1, r[3] - 1)));
  for (const Property& p : properties_) {
    const std::string value = ReadString(p.name, "\x01");
    if (value != "\x01" && p.set) p.set(value);
  }
  if (OnRestorePlacement) OnRestorePlacement();
}

void TSLFormStorage::SaveFormPlacement(bool destroying, bool force) {
  if (!form_) return;
  if (!force && (!Active || !restored_)) return;
  const QRect normal =
      form_->isMaximized() || form_->isMinimized() ? form_->normalGeometry() : form_->geometry();
  const bool minimized = (IsMinimized && IsMinimized()) || form_->isMinimized();
  const int showCmd = minimized ? 2 : form_->isMaximized() ? 3 : 1;
  char normPos[64];
  std::snprintf(normPos, sizeof normPos, "%d,%d,%d,%d", normal.left(), normal.top(),
                normal.left() + normal.width(), normal.top() + normal.height());
  const std::string minMaxPos = "-1,-1,-1,-1";
  const std::string suffix = ScreenSuffix(form_);
  WriteString("Flags", "0");
  WriteString("ShowCmd", std::to_string(showCmd));
  WriteString("PixelsPerInch", std::to_string(PixelsPerInch(form_)));
  WriteString("MinMaxPos", minMaxPos);
  WriteString("NormPos", normPos);
  WriteString("MinMaxPos" + suffix, minMaxPos);
  WriteString("NormPos" + suffix, normPos);
  WriteString("Visible", destroying ? "1" : "0");
  WriteString("FormVersion", "0");
  for (const Property& p : properties_)
    if (p.get) WriteString(p.name, p.get());
  if (OnSavePlacement) OnSavePlacement();
  saved_ = true;
}
