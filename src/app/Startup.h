#pragma once
// Start-up and shut-down of the program: the descriptor, the options and the
// library are created here and written back and freed at the end. The user
// interface supplies what start-up shows (the single-instance message, the
// splash) through TStartupServices, so the sequence itself runs without Qt.
#include <functional>
#include <string>

class TFolder;

struct TStartupServices {
  // Takes the single-instance lock; when another instance runs it tells the
  // user, in the build's language (`english`), and returns false (start-up
  // then stops without touching anything).
  std::function<bool(bool english)> CheckSingleInstance;
  // Creates the splash for the descriptor, paints it once and leaves it on screen.
  std::function<void()> ShowSplash;
  // Closes and releases the splash, then processes pending messages once.
  std::function<void()> CloseSplash;
  // Blocks the thread; the splash pause is a plain sleep.
  std::function<void(int milliseconds)> Sleep;
  // Frees the splash picture at shut-down.
  std::function<void()> ReleaseSplashBitmap;
  // The application object's icon (opaque to the core).
  const void* Icon = nullptr;
};

inline constexpr int kSplashMilliseconds = 2000;

// The start-up sequence; false when another instance runs (nothing was done).
bool InitializeApplication(const std::string& exeName, const TStartupServices& services);
// Writes the library and the options, then frees the library, the options and
// the descriptor. Safe to call once after a successful InitializeApplication.
void FinalizeApplication();
// Writes the library and the options without freeing anything (session end).
void SaveApplicationData();
// The sample library of the very first run, built in memory.
void SeedSampleLibrary(TFolder& root);
