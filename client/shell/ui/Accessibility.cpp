#include "client/shell/ui/Accessibility.h"

#include <QLabel>

namespace kvt {

QLabel* LabelFor(QWidget* control, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    if (auto* display = qobject_cast<QLabel*>(control)) {
        DescribeDisplay(display, text);
    } else {
        NameControl(control, text);
    }
    return label;
}

void NameControl(QWidget* control, const QString& name) { control->setAccessibleName(name); }

void DescribeDisplay(QLabel* display, const QString& description) { display->setAccessibleDescription(description); }

}  // namespace kvt
