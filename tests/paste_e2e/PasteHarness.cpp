// Drives the real paste path against real programs on a running X display:
// the tracker, the engine, the X11 seams and the Qt clipboard, without the
// tray menu. Started by run-e2e.sh with the target windows and the files in
// which the targets write what they receive. Exits 0 when every check passed.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QtGui/private/qtx11extras_p.h>

// After Qt: Xlib defines macros such as None and Bool.
#include <X11/Xlib.h>

#include "BlankWindow.h"
#include "XTermRule.h"
#include "exchange/clsExportFile.h"
#include "library/clsLibrary.h"
#include "paste/SLKeys.h"
#include "platform/Desktop.h"
#include "rules/clsOptions.h"
#include "ui/main/PasteHost.h"

namespace {

using Clock = std::chrono::steady_clock;

int gFailures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  if (!ok) ++gFailures;
}

// Runs the event loop until cond holds or ms have passed.
bool WaitFor(const std::function<bool()>& cond, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!cond()) {
    if (timer.elapsed() > ms) return false;
    QEventLoop loop;
    QTimer::singleShot(2, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

void Pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::string ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// Terminals turn pasted line feeds into carriage returns.
std::string Unix(std::string text) {
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

// Records when the last key event went out.
class TTimingInjector : public IKeyInjector {
 public:
  explicit TTimingInjector(IKeyInjector& real) : real_(real) {}
  void SendKey(uint8_t vk, bool down) override {
    real_.SendKey(vk, down);
    LastKey = Clock::now();
    ++Count;
  }
  int16_t KeyScan(char ch) override { return real_.KeyScan(ch); }
  Clock::time_point LastKey;
  int Count = 0;

 private:
  IKeyInjector& real_;
};

// Records when the text was on the clipboard.
class TTimingClipboard : public IClipboardWriter {
 public:
  explicit TTimingClipboard(IClipboardWriter& real) : real_(real) {}
  bool SetText(const std::string& text) override {
    const bool taken = real_.SetText(text);
    Written = Clock::now();
    return taken;
  }
  Clock::time_point Written;

 private:
  IClipboardWriter& real_;
};

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

bool Activate(TWindowHandle window) {
  std::optional<bool> answer;
  WindowSystem().Activate(window, [&answer](bool ok) { answer = ok; });
  WaitFor([&] { return answer.has_value(); }, 2000);
  return answer.value_or(false);
}

struct TTarget {
  const char* name;
  TWindowHandle window;
  std::string file;
  bool editor;  // saved with Ctrl+S; otherwise a terminal writing what it gets to the file
};

// Waits until the target has received exactly `expected`. The editor is
// asked to save (Ctrl+S, it is the active window) until its file shows it.
std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool WaitForContentOnce(const TTarget& target, const std::string& expected) {
  if (target.editor) {
    // The editor ends the file it saves with a line break.
    const bool bare = !expected.empty() && expected.back() != '\n';
    const auto saved = [&] {
      const std::string got = ReadFile(target.file);
      return got == expected || (bare && got == expected + "\n");
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
      PressShortCut(0x4053);  // Ctrl+S
      if (WaitFor(saved, 250)) return true;
    }
    return false;
  }
  return WaitFor([&] { return Unix(ReadFile(target.file)) == Unix(expected); }, 5000);
}

// Waits until the target has received exactly `expected`. The editor is
// asked to save (Ctrl+S, it is the active window) until its file shows it.
bool WaitForContent(const TTarget& target, const std::string& expected) {
  if (WaitForContentOnce(target, expected)) return true;
  const std::string got = target.editor ? ReadFile(target.file) : Unix(ReadFile(target.file));
  std::printf("%s expected \"%s\"\n%*s got \"%s\"\n", target.name, Escaped(expected).c_str(),
              static_cast<int>(std::string(target.name).size()), "", Escaped(got).c_str());
  return false;
}

class THarness {
 public:
  THarness(TTarget editor, TTarget terminal) : editor_(editor), terminal_(terminal) {}

  int Run() {
    options_.PastingRules.Add(XTermPasteRule());
    VLMNOptions = &options_;

    main_.setWindowTitle("Kestrelay Vellumin");
    main_.resize(400, 300);
    host_ = new TPasteHost(&main_);
    main_.show();
    timing_.emplace(KeyInjector());
    SetKeyInjector(&*timing_);
    clipboard_.emplace(ClipboardWriter());
    SetClipboardWriter(&*clipboard_);

    tray_.addAction("Signatures")->setData(0);
    tray_.addSeparator();
    tray_.addAction("Exit");
    host_->SetTrayMenu(&tray_);

    Check(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000),
          "a system tray is available");
    blank_ = MakeBlankWindow();

    TrackAndPaste(editor_);
    TrackAndPaste(terminal_);
    ImportedLinesArriveAsLines(editor_);
    ImportedLinesArriveAsLines(terminal_);
    StaleEventTimeStillTakesTheClipboard(editor_);
    MainWindowForgetsTarget();
    Alternate(200);
    return gFailures == 0 ? 0 : 1;
  }

 private:
  // A window without a class name or caption, like the tray icon's hidden
  // window that takes the front while the tray menu is open.
  TWindowHandle MakeBlankWindow() {
    const TWindowHandle window = CreateBlankWindow();
    WaitFor([&] { return WindowSystem().IsWindow(window); }, 2000);
    Pause(200);
    return window;
  }

  bool Paste(const TTarget& target, const std::string& value, double* latencyMs) {
    TPasteItem item;
    item.Name = "item";
    item.Value = value;
    TSLList<TPasteItem> trayItems;
    trayItems.OwnsObjects = false;
    trayItems.Add(&item);
    QAction entry;
    entry.setData(0);
    std::optional<TPasteOutcome> outcome;
    const auto click = Clock::now();
    host_->PasteItemClick(&entry, trayItems, [&](TPasteOutcome o) {
      outcome = o;
      if (latencyMs) {
        *latencyMs = Ms(timing_->LastKey - click);
        clipboardMs_.push_back(Ms(clipboard_->Written - click));
      }
    });
    WaitFor([&] { return outcome.has_value(); }, 3000);
    return outcome == TPasteOutcome::Delivered;
  }

  void TrackAndPaste(const TTarget& target) {
    const std::string name = target.name;
    Check(Activate(target.window), name + " comes to the front");
    Check(WaitFor([&] { return LastWindow == target.window; }, 2000),
          name + " is remembered by the tracker");
    const QString shown = main_.findChild<QLabel*>("sbLastWindow")->text();
    Check(shown.startsWith("Last Window: ") &&
              shown.endsWith(target.editor ? " / FeatherPad" : " / XTerm"),
          name + " is named in the status bar: " + shown.toStdString());
    Check(tray_.actions().at(0)->isEnabled() && tray_.actions().at(2)->isEnabled(),
          "tray library entries enabled");

    Check(Activate(blank_), "a caption-less window comes to the front");
    Pause(600);
    Check(LastWindow == target.window, name + " is still remembered");

    const std::string value = "Ol\xC3\xA1, " + name +
                              "!\nZweite Zeile: \xC3\xBC\xC3\xB6\xC3\xA4 \xE2\x82\xAC 5\n"
                              "\xE2\x9C\x93 third line";
    Check(Paste(target, value, nullptr), name + ": paste delivered");
    Check(WaitForContent(target, value), name + " received the multi-line UTF-8 text");
  }

  // An item imported from an export file holds CR LF line breaks; the
  // targets get one line break per line, as typed there.
  void ImportedLinesArriveAsLines(const TTarget& target) {
    struct : IImpExpProgress {
      void ShowProgress(const std::string&, const std::string&, int) override {}
      void AddDetail(const std::string&, bool) override {}
    } quiet;
    TFolder root;
    TFolder* imported = ReadExportData(
        "KVLMN 1.0\r\n\r\nName;Kind;Value;\r\nLines;1;first line$second line$third;\r\n", root,
        quiet);
    if (imported == nullptr || imported->Items.Count() != 1) {
      Check(false, "the export file imports");
      return;
    }
    const std::string value = imported->Items[0]->Value;
    Check(value == "first line\r\nsecond line\r\nthird", "the imported item holds CR LF breaks");
    LastWindow = target.window;
    const std::string before = ReadFile(target.file);
    Check(Paste(target, value, nullptr), std::string(target.name) + ": imported item delivered");
    // The editor stores LF line breaks; xterm sends a pasted line break as CR.
    const std::string lines = "first line\nsecond line\nthird";
    const std::string wanted = target.editor ? before + lines : Unix(before) + lines;
    Check(WaitForContent(target, wanted), std::string(target.name) + " received three lines");
    if (!target.editor)
      Check(ReadFile(target.file) == before + "first line\rsecond line\rthird",
            "terminal bytes: one CR per line break");
  }

  // A click that reaches the program without an X event of its own (a tray
  // host over D-Bus) leaves Qt's last event time behind; another program
  // owns the clipboard since. The take must still succeed: else the target
  // would paste the other program's text.
  void StaleEventTimeStillTakesTheClipboard(const TTarget& target) {
    Display* other = XOpenDisplay(nullptr);
    if (other == nullptr) {
      Check(false, "a second X connection");
      return;
    }
    const Window owner = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
    const quint32 stale = QX11Info::getTimestamp();
    Pause(20);
    for (const char* name : {"CLIPBOARD", "PRIMARY"})
      XSetSelectionOwner(other, XInternAtom(other, name, False), owner, CurrentTime);
    XSync(other, False);
    QX11Info::setAppTime(stale);

    LastWindow = target.window;
    const std::string before = ReadFile(target.file);
    const std::string value = " stale click";
    Check(Paste(target, value, nullptr), "stale event time: paste delivered");
    Check(WaitForContent(target, before + value), "stale event time: the item's text arrived");
    XCloseDisplay(other);
  }

  void MainWindowForgetsTarget() {
    Check(Activate(static_cast<TWindowHandle>(main_.winId())), "main window comes to the front");
    Check(WaitFor([] { return LastWindow == kNoWindow; }, 2000), "main window in front: no target");
    Check(!tray_.actions().at(0)->isEnabled() && tray_.actions().at(2)->isEnabled(),
          "library entry disabled, fixed entry untouched");
  }

  void Alternate(int count) {
    host_->tTracking->stop();  // the targets are set as the tracker would set them
    std::string expected[2] = {ReadFile(editor_.file), Unix(ReadFile(terminal_.file))};
    std::vector<double> latencies;
    int delivered = 0, landed = 0;
    for (int i = 0; i < count; ++i) {
      const TTarget& target = i % 2 == 0 ? editor_ : terminal_;
      char value[64];
      std::snprintf(value, sizeof value, "paste %03d \xE2\x86\x92 %s\n", i, target.name);
      LastWindow = target.window;
      double latency = 0;
      if (Paste(target, value, &latency)) {
        ++delivered;
        latencies.push_back(latency);
      }
      expected[i % 2] += value;
      if (WaitForContent(target, expected[i % 2])) {
        ++landed;
      } else {
        std::printf("paste %d to %s not received\n", i, target.name);
        break;
      }
    }
    Check(delivered == count,
          "all " + std::to_string(count) + " pastes delivered (" + std::to_string(delivered) + ")");
    Check(landed == count, "each paste landed in its own target (" + std::to_string(landed) + ")");
    if (latencies.empty()) return;
    std::sort(latencies.begin(), latencies.end());
    std::printf("latency click to last key over %zu pastes: median %.2f ms, worst %.2f ms\n",
                latencies.size(), latencies[latencies.size() / 2], latencies.back());
    std::printf("of which click to text on the clipboard: median %.2f ms\n", Median(clipboardMs_));
  }

  TTarget editor_, terminal_;
  TVLMNOptions options_;
  QMainWindow main_;
  QMenu tray_;
  TPasteHost* host_ = nullptr;
  std::optional<TTimingInjector> timing_;
  std::optional<TTimingClipboard> clipboard_;
  std::vector<double> clipboardMs_;  // click to text on the clipboard
  TWindowHandle blank_ = kNoWindow;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s EDITOR-WINDOW EDITOR-FILE TERMINAL-WINDOW TERMINAL-FILE\n",
                 argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  THarness harness({"editor", std::stoul(argv[1], nullptr, 0), argv[2], true},
                   {"terminal", std::stoul(argv[3], nullptr, 0), argv[4], false});
  int code = 1;
  QTimer::singleShot(0, [&] {
    code = harness.Run();
    QCoreApplication::quit();
  });
  app.exec();
  std::printf("%d failed\n", gFailures);
  return code;
}
