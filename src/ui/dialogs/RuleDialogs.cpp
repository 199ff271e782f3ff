#include "ui/dialogs/RuleDialogs.h"

#include <QComboBox>
#include <QLineEdit>

#include "framework/SLDialogCommon.h"
#include "framework/SLDialogKeys.h"
#include "framework/SLHelp.h"
#include "ui/dialogs/DialogParts.h"

void PrepareFixedDialog(QWidget* dialog, int helpContext) {
  dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
  dialog->setFixedSize(dialog->size());
  SetDialogFont(dialog, kDialogFontName);
  SetHelpContext(dialog, helpContext);
}

void PrepareRuleDialog(QWidget* dialog, QComboBox* field, QComboBox* condition, QLineEdit* value) {
  PrepareFixedDialog(dialog, kHelpPreferences);
  field->setCurrentIndex(-1);
  condition->setCurrentIndex(-1);
  // RefuseQuote: rule values are never typed with an apostrophe.
  (new TTypedCharFilter(dialog, QStringLiteral("'")))->Watch(value);
}
