#include "ui/message_sink.h"

#include <QMessageBox>

#include "ui/form_layout.h"

namespace sf::ui {

QString LinesText(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) {
        text << QString::fromStdString(line);
    }
    return text.join('\n');
}

void DialogMessages::ShowNotice(QWidget& window, const QString& text) {
    QMessageBox::warning(&window, kApplicationName, text);
}

void DialogMessages::ShowClosingMessage(QWidget& window, const QString& text) {
    QMessageBox::information(&window, kApplicationName, text);
}

void DialogMessages::ShowError(QWidget& window, const QString& text) {
    QMessageBox::critical(&window, kApplicationName, text);
}

void DialogMessages::ShowWarning(QWidget& window, const QString& text) {
    QMessageBox::warning(&window, kApplicationName, text);
}

bool DialogMessages::Ask(QWidget& window, const QString& question) {
    return QMessageBox::question(&window, kApplicationName, question) == QMessageBox::Yes;
}

}  // namespace sf::ui
