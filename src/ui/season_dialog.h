#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace sf::ui {

// Options > Season length...: the season length M, 0 for none or at least 2. A length of 1
// cannot be taken: OK stays off and the line below says why.
class SeasonDialog : public QDialog {
    Q_OBJECT

  public:
    SeasonDialog(int length, QWidget* parent = nullptr);

    int Length() const;
    QSpinBox& LengthBox() const { return *length_; }

  private:
    void Check();

    QSpinBox* length_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace sf::ui
