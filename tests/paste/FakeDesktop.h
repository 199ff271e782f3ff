#pragma once
// A scripted desktop for the paste path: a window table, a recorder of key
// events and of clipboard texts, and one journal of everything in the order
// it happened.
#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Desktop.h"

struct TKeyEvent {
  uint8_t Vk;
  bool Down;
  bool operator==(const TKeyEvent&) const = default;
};

class TFakeDesktop : public IWindowSystem, public IKeyInjector, public IClipboardWriter {
 public:
  struct TWindow {
    std::string ClassName;
    std::string Caption;
    bool Valid = true;
    bool Activatable = true;
  };
  enum class TAnswer { AtOnce, Later };

  std::map<TWindowHandle, TWindow> Windows;
  TWindowHandle Foreground = kNoWindow;
  TAnswer Answer = TAnswer::AtOnce;
  std::vector<TKeyEvent> Keys;
  std::vector<std::string> ClipboardTexts;
  bool ClipboardTaken = true;  // false: another program keeps the clipboard
  std::vector<TWindowHandle> Activations;
  std::vector<std::string> Journal;

  TFakeDesktop() {
    SetWindowSystem(this);
    SetKeyInjector(this);
    SetClipboardWriter(this);
  }
  ~TFakeDesktop() override {
    SetWindowSystem(nullptr);
    SetKeyInjector(nullptr);
    SetClipboardWriter(nullptr);
  }

  void AddWindow(TWindowHandle handle, std::string className, std::string caption) {
    Windows[handle] = TWindow{std::move(className), std::move(caption)};
  }

  // Answers the activation request that waits (TAnswer::Later).
  void AnswerPending() {
    auto pending = std::move(pending_);
    pending_ = nullptr;
    if (pending) pending(true);
  }
  bool HasPending() const { return static_cast<bool>(pending_); }

  TWindowHandle ForegroundWindow() override { return Foreground; }
  std::string ClassName(TWindowHandle window) override {
    auto it = Windows.find(window);
    return it == Windows.end() ? std::string() : it->second.ClassName;
  }
  std::string Caption(TWindowHandle window) override {
    auto it = Windows.find(window);
    return it == Windows.end() ? std::string() : it->second.Caption;
  }
  bool IsWindow(TWindowHandle window) override {
    auto it = Windows.find(window);
    return it != Windows.end() && it->second.Valid;
  }
  void Activate(TWindowHandle window, std::function<void(bool)> answer) override {
    Activations.push_back(window);
    Journal.push_back("activate " + std::to_string(window));
    if (Answer == TAnswer::AtOnce) {
      Decide(window, answer);
      return;
    }
    if (pending_) {
      auto superseded = std::move(pending_);
      pending_ = nullptr;
      Journal.push_back("superseded");
      superseded(false);
    }
    pending_ = [this, window, answer = std::move(answer)](bool live) {
      if (live)
        Decide(window, answer);
      else
        answer(false);
    };
  }

  void SendKey(uint8_t vk, bool down) override {
    Keys.push_back({vk, down});
    Journal.push_back("key " + std::to_string(vk) + (down ? " down" : " up"));
  }
  // A US layout: letters and digits; upper case letters need Shift.
  int16_t KeyScan(char ch) override {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return static_cast<int16_t>(std::toupper(c));
    if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | c);
    if (c >= '0' && c <= '9') return static_cast<int16_t>(c);
    return -1;
  }

  bool SetText(const std::string& text) override {
    if (!ClipboardTaken) {
      Journal.push_back("clipboard refused");
      return false;
    }
    ClipboardTexts.push_back(text);
    Journal.push_back("clipboard " + text);
    return true;
  }

 private:
  void Decide(TWindowHandle window, const std::function<void(bool)>& answer) {
    auto it = Windows.find(window);
    const bool ok = it != Windows.end() && it->second.Valid && it->second.Activatable;
    if (ok) Foreground = window;
    Journal.push_back(ok ? "active" : "refused");
    answer(ok);
  }

  // Called with false when superseded, with true when answered.
  std::function<void(bool)> pending_;
};
