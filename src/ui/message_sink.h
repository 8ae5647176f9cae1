#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

namespace sf::ui {

// How the window shows what a run tells the user. Each call returns once the user has
// acknowledged the message.
class MessageSink {
  public:
    virtual ~MessageSink() = default;

    virtual void ShowNotice(QWidget& window, const QString& text) = 0;
    // The message that ends a run: complete, or stopped at the user's request.
    virtual void ShowClosingMessage(QWidget& window, const QString& text) = 0;
    virtual void ShowError(QWidget& window, const QString& text) = 0;
    // After the closing message: the results of the complete run may not be what they seem.
    virtual void ShowWarning(QWidget& window, const QString& text) = 0;
    // A question the user answers yes (true) or no.
    virtual bool Ask(QWidget& window, const QString& question) = 0;
};

// Lines a run tells the user as one text, a line each.
QString LinesText(const std::vector<std::string>& lines);

// Modal message boxes with one OK button.
class DialogMessages : public MessageSink {
  public:
    void ShowNotice(QWidget& window, const QString& text) override;
    void ShowClosingMessage(QWidget& window, const QString& text) override;
    void ShowError(QWidget& window, const QString& text) override;
    void ShowWarning(QWidget& window, const QString& text) override;
    bool Ask(QWidget& window, const QString& question) override;
};

}  // namespace sf::ui
