// The preview of a sales history: what it shows, how choices read the file again, and that only
// OK changes the form.
#include "ui/history_preview_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include "ui/sales_history_panel.h"
#include "window_test_support.h"

using sf::ui::HistoryPreviewDialog;

namespace {

QString WriteFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes) {
    QFile file(folder.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

bool WaitForRead(HistoryPreviewDialog& dialog) {
    QSignalSpy read(&dialog, &HistoryPreviewDialog::ReadFinished);
    return read.wait(5000);
}

QPushButton& Ok(HistoryPreviewDialog& dialog) {
    return *dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

QString Label(const HistoryPreviewDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name)->text();
}

// "DecimalChoice=comma": picks the entry of that box with that word or column number, as a
// user would.
void Choose(HistoryPreviewDialog& dialog, const QString& choice) {
    const QStringList parts = choice.split('=');
    auto* box = dialog.findChild<QComboBox*>(parts[0]);
    QVERIFY(box != nullptr);
    int index = box->findText(parts[1]);
    if (index < 0) {
        index = box->findData(parts[1]);
    }
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

class HistoryPreviewDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void showsTheFileAsItWillBeRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusedUntilChosen");  // empty: read as it is
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("found");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("firstRow");

        QTest::newRow("wide with dates and names")
            << QByteArray("date,North,South\n2024-01-01,1,2\n2024-01-08,3,4\n") << QString()
            << QStringList() << "Wide table" << QStringList{"Date", "North", "South"}
            << QStringList{"2024-01-01", "1", "2"};
        QTest::newRow("long with odd column names, columns chosen")
            << QByteArray("store;qty;day\nA;5;1\nB;7;1\nA;6;2\nB;8;2\n") << QString()
            << QStringList{"NameColumn=1", "PeriodColumn=3", "DemandColumn=2"}
            << "periods in column 3 (\"day\")" << QStringList{"Period", "A", "B"}
            << QStringList{"1", "5", "7"};
        QTest::newRow("thousands or decimals, settled by choosing comma")
            << QByteArray("North;South\n1.234;2.500\n3;4\n") << "may have a decimal point"
            << QStringList{"DecimalChoice=comma"} << "decimal separator: comma"
            << QStringList{"Period", "North", "South"} << QStringList{"1", "1234", "2500"};
        QTest::newRow("slashed dates both ways, settled by choosing month first")
            << QByteArray("date,A\n03/01/2024,1\n03/02/2024,2\n")
            << "may be day first or month first" << QStringList{"DateOrderChoice=mdy"}
            << "slashed dates read month first" << QStringList{"Date", "A"}
            << QStringList{"2024-03-01", "1"};
        QTest::newRow("Windows-1252, named")
            << QByteArray("date;M\xE4nner\n2024-03-01;1\n") << QString() << QStringList()
            << "read as Western European, Windows-1252" << QStringList{"Date", "M\u00e4nner"}
            << QStringList{"2024-03-01", "1"};
        QTest::newRow("a sales point per row, numbers for names, settled by the layout")
            << QByteArray("article,1,2\n1001,5,6\n1002,7,8\n") << "(--history-layout)"
            << QStringList{"LayoutChoice=rows"} << "Rows (a row per sales point"
            << QStringList{"Period", "1001", "1002"} << QStringList{"1", "5", "7"};
        QTest::newRow("receipts of one day, added up, a total row left out")
            << QByteArray(
                   "store;article;date;units\nN;Milk;2024-03-01;4\nN;Milk;2024-03-01;3\n"
                   "N;Milk;2024-03-02;5\nTotal;;;12\n")
            << "(--history-duplicates sum)" << QStringList{"DuplicateRowsChoice=sum"}
            << "row 5 holds the totals and is left out" << QStringList{"Date", "N / Milk"}
            << QStringList{"2024-03-01", "7"};
        QTest::newRow("all-numeric header said to be one")
            << QByteArray("101,102\n5,6\n") << QString() << QStringList{"HeaderChoice=yes"}
            << "row 1 is a header" << QStringList{"Period", "101", "102"}
            << QStringList{"1", "5", "6"};
    }

    void showsTheFileAsItWillBeRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusedUntilChosen);
        QFETCH(QStringList, choices);
        QFETCH(QString, found);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, firstRow);
        QTemporaryDir folder;
        HistoryPreviewDialog dialog(WriteFile(folder, "sales.csv", bytes), {}, nullptr);
        QCOMPARE(Label(dialog, "HistoryRefusal"), QString("Reading..."));
        QVERIFY(!Ok(dialog).isEnabled());
        QVERIFY(WaitForRead(dialog));
        if (!refusedUntilChosen.isEmpty()) {
            QVERIFY2(Label(dialog, "HistoryRefusal").contains(refusedUntilChosen),
                     qPrintable(Label(dialog, "HistoryRefusal")));
            QVERIFY(!Ok(dialog).isEnabled() && !dialog.History());
        }
        for (const QString& choice : choices) {
            Choose(dialog, choice);
            QVERIFY(WaitForRead(dialog));
        }
        QVERIFY2(Label(dialog, "HistoryRefusal").isEmpty(),
                 qPrintable(Label(dialog, "HistoryRefusal")));
        QVERIFY(Ok(dialog).isEnabled() && dialog.History());
        QVERIFY2(Label(dialog, "HistoryFound").contains(found),
                 qPrintable(Label(dialog, "HistoryFound")));
        const auto* rows = dialog.findChild<QTableWidget*>("HistoryRows");
        for (int column = 0; column < titles.size(); ++column) {
            QCOMPARE(rows->horizontalHeaderItem(column)->text(), titles[column]);
            QCOMPARE(rows->item(0, column)->text(), firstRow[column]);
        }
    }

    // Each choice's label has a key of its own that goes to its box, and every heading of the
    // table is as wide as its text.
    void everyLabelHasItsOwnKeyAndEveryHeadingItsWidth() {
        QTemporaryDir folder;
        const QString longName = QString("Filiale Nord, Abteilung Getr%1nke").arg(QChar(0xE4));
        HistoryPreviewDialog dialog(
            WriteFile(folder, "sales.csv", ("date;" + longName + ";B\n2024-01-01;1;2\n").toUtf8()),
            {}, nullptr);
        QVERIFY(WaitForRead(dialog));
        QSet<QChar> keys;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            const qsizetype amp = label->text().indexOf('&');
            if (amp < 0) {
                continue;
            }
            const QChar key = label->text().at(amp + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(label->text()));
            keys.insert(key);
            QVERIFY2(qobject_cast<QComboBox*>(label->buddy()), qPrintable(label->text()));
        }
        QCOMPARE(keys.size(), 8);
        const auto* rows = dialog.findChild<QTableWidget*>("HistoryRows");
        const QFontMetrics metrics(rows->horizontalHeader()->font());
        QVERIFY(rows->horizontalHeader()->sectionSize(1) > metrics.horizontalAdvance(longName));
    }

    // OK takes the file with the choices made; Cancel, and a read still running when the
    // dialog closes, leave the form as it was.
    void onlyOkChangesTheForm() {
        QTemporaryDir folder;
        const QString path = WriteFile(folder, "sales.csv", "101;102;103\n1;2;3\n4;5;6\n");
        RecordingMessages* messages = nullptr;
        const std::unique_ptr<sf::ui::ForecastWindow> form = OpenForm(messages);
        sf::ui::SalesHistoryPanel& panel = form->SalesHistory();
        auto* periods = form->findChild<QLineEdit*>("Periodnumber");
        const QString typed = periods->text();

        panel.Preview(path);
        form->findChildren<HistoryPreviewDialog*>().last()->reject();  // before its read is done
        panel.Preview(path);
        auto* preview = form->findChildren<HistoryPreviewDialog*>().last();
        QVERIFY(WaitForRead(*preview));
        preview->reject();
        QTRY_VERIFY(form->findChildren<HistoryPreviewDialog*>().isEmpty());
        QVERIFY(!panel.History());
        QCOMPARE(periods->text(), typed);

        panel.Preview(path);
        preview = form->findChildren<HistoryPreviewDialog*>().last();
        QVERIFY(WaitForRead(*preview));
        Choose(*preview, "HeaderChoice=yes");
        QVERIFY(WaitForRead(*preview));
        QSignalSpy used(&panel, &sf::ui::SalesHistoryPanel::FileUsed);
        Ok(*preview).click();
        QCOMPARE(used.count(), 1);
        QVERIFY(panel.History());
        QCOMPARE(panel.History()->choices.header, sf::HeaderChoice::yes);
        QCOMPARE(periods->text(), QString("2"));

        // Opened again, from the recent files or in the preview, it is read as it was last read.
        panel.UseSimulatedDemand();
        QVERIFY(panel.UseFile(path));
        QCOMPARE(panel.History()->choices.header, sf::HeaderChoice::yes);
        QCOMPARE(periods->text(), QString("2"));
        panel.Preview(path);
        preview = form->findChildren<HistoryPreviewDialog*>().last();
        QVERIFY(WaitForRead(*preview));
        QCOMPARE(preview->findChild<QComboBox*>("HeaderChoice")->currentText(), QString("yes"));
        QVERIFY(preview->History() && preview->History()->choices.header == sf::HeaderChoice::yes);
        preview->reject();
        QVERIFY(messages->errors.isEmpty());
    }
};

QTEST_MAIN(HistoryPreviewDialogTest)
#include "history_preview_dialog_test.moc"
