#include "ui/window_placement.h"

#include <QTest>

#include "results_pages_test.h"

namespace {

class WindowPlacementTest : public QObject {
    Q_OBJECT

  private slots:
    // A screen of 1,920 x 1,040 logical pixels; frames add 10 x 30; the window would like
    // 1,400 x 900 and needs at least 800 x 600.
    void theWindowGoesBesideTheFormWhereThereIsRoom_data() {
        QTest::addColumn<QRect>("room");
        QTest::addColumn<QRect>("form");  // its frame
        QTest::addColumn<QRect>("placed");
        const QRect screen(0, 0, 1920, 1040);
        QTest::newRow("right of a form at the left, as wide as the room")
            << screen << QRect(0, 100, 500, 700) << QRect(508, 100, 1400, 900);
        QTest::newRow("narrower, right of a form in the middle")
            << screen << QRect(600, 50, 500, 700) << QRect(1108, 50, 802, 900);
        QTest::newRow("left of a form at the right")
            << screen << QRect(1420, 0, 500, 700) << QRect(2, 0, 1400, 900);
        QTest::newRow("over the form's right side where no side has room")
            << screen << QRect(700, 400, 500, 700) << QRect(510, 109, 1400, 900);
        QTest::newRow("a small screen: the room at most, within it")
            << QRect(0, 0, 1024, 700) << QRect(0, 0, 200, 300) << QRect(208, 0, 806, 670);
    }

    void theWindowGoesBesideTheFormWhereThereIsRoom() {
        QFETCH(QRect, room);
        QFETCH(QRect, form);
        QFETCH(QRect, placed);
        QCOMPARE(sf::ui::PlaceBeside(room, form, QSize(10, 30), QSize(1400, 900), QSize(800, 600)),
                 std::optional<QRect>(placed));
    }

    void anUnknownScreenPlacesNothing() {
        QVERIFY(!sf::ui::PlaceBeside(QRect(), QRect(0, 0, 500, 700), QSize(10, 30),
                                     QSize(1400, 900), QSize(800, 600)));
    }
};

}  // namespace

std::unique_ptr<QObject> WindowPlacementTests() {
    return std::make_unique<WindowPlacementTest>();
}

#include "window_placement_test.moc"
