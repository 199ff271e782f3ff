#pragma once
// The application-wide exception handler. Every exception that escapes an
// event handler is caught in the application object's notify and handed to
// aeMainException; none reaches Qt's event loop.
#include <QApplication>
#include <exception>

class TSLApplicationObject : public QApplication {
  Q_OBJECT

 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

// Reports E: an ESLException by its type (error: report, then end the program;
// warning and information: report and go on; anything else: nothing), any
// other exception as "Unexpected error." with its text as details, then the
// end of the program. Raises nothing itself.
void aeMainException(QObject* Sender, std::exception_ptr E);

// Ends the program as Exit does: the main window is marked as closing and the
// message loops are told to quit; destroying the main window then writes the
// library and the options.
void EndProgramInOrder();
