#include "ui/box_shortcuts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace sf::ui {
namespace {

class ShortcutsThroughBoxes : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded) {
            Watch(static_cast<QChildEvent*>(event)->child());
        } else if (event->type() == QEvent::ShortcutOverride &&
                   qobject_cast<QLineEdit*>(watched) != nullptr &&
                   LeavesToShortcuts(*static_cast<QKeyEvent*>(event))) {
            event->ignore();  // not the box's: a shortcut of the window may take it
            return true;
        }
        return false;
    }

    void Watch(QObject* object) {
        if (object == this || !object->isWidgetType()) {
            return;
        }
        object->installEventFilter(this);
        for (QObject* child : object->children()) {
            Watch(child);
        }
    }

  private:
    static bool LeavesToShortcuts(const QKeyEvent& key) {
        constexpr QKeySequence::StandardKey kEditing[] = {
            QKeySequence::Copy, QKeySequence::Cut,  QKeySequence::Paste,
            QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll};
        for (const QKeySequence::StandardKey editing : kEditing) {
            if (key.matches(editing)) {
                return false;
            }
        }
        return key.modifiers().testFlag(Qt::ControlModifier) &&
               ((key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) ||
                (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9));
    }
};

}  // namespace

void LetShortcutsThroughBoxes(QWidget& window) {
    (new ShortcutsThroughBoxes(&window))->Watch(&window);
}

}  // namespace sf::ui
