// CAboutDialog: the program's icon, "KvtTrade Version 3.0" and an OK button.
#pragma once

#include <QDialog>

namespace kvt {

class CAboutDialog : public QDialog {
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};

}  // namespace kvt
