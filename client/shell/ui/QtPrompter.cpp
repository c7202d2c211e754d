// CQtPrompter: QMessageBox with 是/否 and 确定; QFileDialog for the file to save to.
#include "client/shell/ui/QtPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kvt {

namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

bool CQtPrompter::AskYesNo(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Question, Utf8(caption), Utf8(text), QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void CQtPrompter::Inform(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Information, Utf8(caption), Utf8(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

std::string CQtPrompter::ChooseSaveFile(std::string_view proposedName, std::string_view caption) {
    const QString proposed = QDir::current().filePath(Utf8(proposedName));
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), Utf8(caption), proposed,
                                        QStringLiteral("CSV 文件 (*.csv)"))
        .toStdString();
}

}  // namespace kvt
