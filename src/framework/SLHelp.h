#pragma once
// Help and the system information tool. On Windows the help is the compiled
// help file beside the program, shown by the HTML Help engine; elsewhere it is
// a folder of HTML pages beside the program, one page per help context,
// opened in the user's browser.
#include <string>

class TSLApplication;

// Help contexts of the program's windows.
inline constexpr int kHelpDefault = 0;        // tip of the day, about box, Help > Contents
inline constexpr int kHelpPreferences = 500;  // also the rule and key editors
inline constexpr int kHelpImportExport = 600;
inline constexpr int kHelpSearch = 700;
inline constexpr int kHelpItemAdd = 800;
inline constexpr int kHelpItemModify = 900;
inline constexpr int kHelpCopyFolder = 1000;
inline constexpr int kHelpMoveFolder = 1100;
inline constexpr int kHelpCopyItem = 1200;
inline constexpr int kHelpMoveItem = 1300;
inline constexpr int kHelpTechSupport = 60000;

// The folder of help pages that stands for the help file: the file's name
// without its extension followed by "-help" (kvlmn.chm: kvlmn-help).
std::string HelpFolder(const std::string& helpFile);
// The page of a context: index.html for 0, context-<n>.html otherwise; a
// context without a page of its own opens index.html.
std::string HelpPage(const std::string& helpFile, int context);

// Opens the help at the context's page. Without a help file nothing happens;
// without a URL opener (on Windows: without the help engine) the launcher
// beeps (1000 Hz, 100 ms). An exception
// while opening becomes ESLException "Unable to show help file '%s'." with
// the cause as details.
void ShowHelp(const TSLApplication& Descriptor, int Context);

// Starts the system information tool: the path registered under
// HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Shared Tools\MSINFO" value "Path",
// else the installed tool the launcher finds. Every failure is raised as
// ESLException "Unable to run System Info at this time." with its reason as
// details.
void RunSystemInfo();
