// How the client's windows read to a screen reader, and how tests find their controls by name:
// a control beside its label takes the label as buddy and the label's text as accessible name; a
// control without a label of its own is named directly. A display (a label that shows a value: a
// status pane, a price in a frame) keeps its text as its name, so that the value is read, and is
// described by what it shows.
//
// Thread contract: user interface thread only.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace kvt {

// A label for the control: its buddy is the control, and its text the control's accessible name
// (a display's description).
QLabel* LabelFor(QWidget* control, const QString& text, QWidget* parent);
// Names a control that has no label of its own.
void NameControl(QWidget* control, const QString& name);
// Says what a display shows.
void DescribeDisplay(QLabel* display, const QString& description);

}  // namespace kvt
