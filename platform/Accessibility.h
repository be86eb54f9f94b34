#pragma once
// What a screen reader learns about the program's own controls. Qt knows its buttons, text boxes and
// dialogs, but reports our windows, labels and paint box as anonymous fillers; the factory installed here
// gives them their roles and names:
// - a TForm is a window named by its caption;
// - a TLabel is a label named by its visible text, described by its role, and the label of the control
//   it names (SetLabelFor);
// - the TPaintBox is a graphic, and a TAnnouncer a notification named by the text it announces.

#include <QString>

class QWidget;

namespace platform {

class TLabel;

// Installs the factory; once per application, later calls do nothing.
void InstallAccessibility();

// Makes `label` the label of `control` and keeps the control's accessible name "<name>: <label's text>"
// ("<name>" alone while the label is empty), so that the control is spoken with what it stands for.
void NameAfterLabel(QWidget* control, const QString& name, TLabel* label);

} // namespace platform
