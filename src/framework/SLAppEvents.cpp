#include "framework/SLAppEvents.h"

#include <QWidget>
#include <string>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLExceptions.h"
#include "framework/SLMsgDetailsFrm.h"
#include "ui/main/frmMain.h"

namespace {

void BringToFront() {
  QWidget* window = QApplication::activeWindow();
  if (window == nullptr && VLMNMain != nullptr && VLMNMain->isVisible()) window = VLMNMain;
  if (window != nullptr) {
    window->raise();
    window->activateWindow();
  }
}

void Report(const std::string& text, const std::string& details, TSLMessageType type) {
  const bool english = SLApplication == nullptr || SLApplication->English;
  const std::string font = SLApplication != nullptr ? SLApplication->FontName : std::string();
  SLMessageDetails(text, details, FromQ(ApplicationTitle()), type, LanguageOf(english), font,
                   false);
}

}  // namespace

bool TSLApplicationObject::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    aeMainException(receiver, std::current_exception());
    return false;
  }
}

void EndProgramInOrder() {
  if (VLMNMain != nullptr) VLMNMain->Closing = true;
  QCoreApplication::quit();
}

void aeMainException(QObject* Sender, std::exception_ptr E) {
  bool endProgram = false;
  try {
    BringToFront();
    try {
      std::rethrow_exception(E);
    } catch (const ESLException& e) {
      switch (e.MessageType) {
        case smtError:
          endProgram = true;
          Report(e.what(), e.Details, smtError);
          break;
        case smtWarning:
        case smtInformation:
          Report(e.what(), e.Details, e.MessageType);
          break;
        default:
          break;  // other types are not shown
      }
    } catch (const std::exception& e) {
      endProgram = true;
      Report(Text(Str::UnexpectedError), e.what(), smtError);
    } catch (...) {
      endProgram = true;
      Report(Text(Str::UnexpectedError), std::string(), smtError);
    }
  } catch (...) {
    // The report itself failed; the handler raises nothing new.
  }
  if (endProgram) EndProgramInOrder();
}
