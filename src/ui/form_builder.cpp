#include "ui/form_builder.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <utility>
#include <vector>

#include "runtime/invariants.h"
#include "ui/form_layout.h"

namespace sf::ui {
namespace {

QWidget* CreateControl(const FormControl& entry, QWidget& container) {
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
        case ControlKind::kTextBox:
            return new QLineEdit(caption, &container);
        case ControlKind::kOptionButton:
            return new QRadioButton(caption, &container);
        case ControlKind::kCommandButton:
            return new QPushButton(caption, &container);
        case ControlKind::kFrame: {
            auto* frame = new QGroupBox(caption, &container);
            // Its options lie over it, except the one it holds.
            frame->lower();
            return frame;
        }
        case ControlKind::kLabel: {
            auto* label = new QLabel(caption, &container);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
    }
    SF_UNREACHABLE("a control of no kind");
}

// The caption sits on the top line, as the designed positions of the options inside the frame
// assume. Set once the frame's children exist: set earlier, it loses the window font for them.
void DrawCaptionOnTopLine(QGroupBox& frame) {
    frame.setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.6em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 0.6em; padding: 0 2px; }"));
}

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::kLabel && kind != ControlKind::kFrame;
}

}  // namespace

void BuildForm(QWidget& window) {
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const FormControl& entry : FormControls()) {
        QWidget* container = entry.container.empty()
                                 ? &window
                                 : window.findChild<QWidget*>(QString::fromUtf8(entry.container));
        QWidget* control = CreateControl(entry, *container);
        control->setObjectName(QString::fromUtf8(entry.name));
        control->setGeometry(ToPixels(entry.area));
        if (entry.fontPixelSize != 0) {
            QFont font = control->font();
            font.setPixelSize(entry.fontPixelSize);
            control->setFont(font);
        }
        if (TakesFocus(entry.kind)) {
            tabStops.emplace_back(entry.tabIndex, control);
        }
    }
    for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        DrawCaptionOnTopLine(*frame);
    }
    std::ranges::sort(tabStops);
    for (std::size_t at = 1; at < tabStops.size(); ++at) {
        QWidget::setTabOrder(tabStops[at - 1].second, tabStops[at].second);
    }
}

}  // namespace sf::ui
