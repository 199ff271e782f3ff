#pragma once
// What the rule editors share: fixed size, font, help topic, empty lists at
// first and the value field that refuses a typed apostrophe.
class QComboBox;
class QLineEdit;
class QWidget;

void PrepareRuleDialog(QWidget* dialog, QComboBox* field, QComboBox* condition, QLineEdit* value);
// The fixed-size frame, font and help topic of the rule and key editors.
void PrepareFixedDialog(QWidget* dialog, int helpContext);
