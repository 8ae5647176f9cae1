#include "ui/history_preview_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <memory>

#include "history/history_reader.h"
#include "run/season_suggestion.h"
#include "runtime/run_error.h"

namespace sf::ui {
namespace {

// Enough periods to see that dates and numbers were read as meant.
constexpr int kShownPeriods = 8;

template <typename Choice, std::size_t Count>
QComboBox* ChoiceBox(const std::array<ChoiceWord<Choice>, Count>& words, Choice current,
                     const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (const ChoiceWord<Choice>& entry : words) {
        box->addItem(QString::fromUtf8(entry.word.data(), static_cast<int>(entry.word.size())),
                     static_cast<int>(entry.choice));
    }
    box->setCurrentIndex(box->findData(static_cast<int>(current)));
    return box;
}

template <typename Choice>
Choice ChosenIn(const QComboBox& box) {
    return static_cast<Choice>(box.currentData().toInt());
}

QString DelimiterName(char delimiter) {
    switch (delimiter) {
        case ';':
            return QObject::tr("semicolon");
        case '\t':
            return QObject::tr("tab");
        default:
            return QObject::tr("comma");
    }
}

QString DecimalName(const std::optional<DecimalSeparator>& decimal) {
    if (!decimal) {
        return QObject::tr("not settled");
    }
    return *decimal == DecimalSeparator::comma ? QObject::tr("comma") : QObject::tr("point");
}

QString ShapeName(HistoryShape shape) {
    switch (shape) {
        case HistoryShape::longTable:
            return QObject::tr("Long table (a row per sales point and period)");
        case HistoryShape::rows:
            return QObject::tr("Rows (a row per sales point, the periods across)");
        case HistoryShape::wide:
            return QObject::tr("Wide table (a column per sales point)");
    }
    return {};
}

QString FoundText(const HistoryLayout& layout, const std::optional<SalesHistory>& history) {
    QString text = layout.shapeSettled ? ShapeName(layout.shape) : QObject::tr("Shape not settled");
    text +=
        QObject::tr("; read as %1; delimiter: %2; decimal separator: %3; %4")
            .arg(QString::fromUtf8(EncodingName(layout.encoding).data(),
                                   static_cast<qsizetype>(EncodingName(layout.encoding).size())),
                 DelimiterName(layout.delimiter), DecimalName(layout.decimal),
                 layout.headerRow > 0 ? QObject::tr("row %1 is a header").arg(layout.headerRow)
                                      : QObject::tr("no header"));
    if (layout.dateOrder) {
        text += *layout.dateOrder == DateOrder::dayFirst
                    ? QObject::tr("; slashed dates read day first")
                    : QObject::tr("; slashed dates read month first");
    }
    if (layout.shape == HistoryShape::longTable && layout.columnsFoundBy != ColumnsFoundBy::none) {
        QStringList keys;
        for (const std::size_t column : layout.keyColumns) {
            keys << QString::fromStdString(layout.ColumnName(column));
        }
        text += QObject::tr("\nSales points in %1, periods in %2, demand in %3")
                    .arg(keys.join(QStringLiteral(" + ")),
                         QString::fromStdString(layout.ColumnName(layout.periodColumn)),
                         QString::fromStdString(layout.ColumnName(layout.demandColumn)));
    }
    if (history) {
        text += QObject::tr("\n%1 sales points, %2 periods")
                    .arg(history->salesPoints)
                    .arg(history->periods);
        if (layout.filledPeriods > 0) {
            text += QObject::tr(" (%1 that no row names, read as zero)").arg(layout.filledPeriods);
        }
    }
    if (layout.totalRow > 0) {
        text += QObject::tr("; row %1 holds the totals and is left out").arg(layout.totalRow);
    }
    if (const std::optional<SeasonSuggestion> season =
            history ? SuggestSeason(*history) : std::nullopt) {
        text += QObject::tr(
                    "\nThe periods are %1: a season of %2 periods shows in %3 of the %4 "
                    "sales points (autocorrelation at lag %2 above 1.645 standard errors, "
                    "or a position without demand). Options > Season length... sets it.")
                    .arg(QString::fromStdString(season->unit))
                    .arg(season->length)
                    .arg(season->showing)
                    .arg(season->salesPoints);
    }
    return text;
}

// A sales point named by two columns together, such as a store and an article: the pairs
// among the first columns, where key columns stand.
void AddKeyPairs(const HistoryLayout& layout, QComboBox& box) {
    constexpr std::size_t kPairedColumns = 5;
    const std::size_t paired = std::min(layout.columnCount, kPairedColumns);
    for (std::size_t first = 0; first < paired; ++first) {
        for (std::size_t second = first + 1; second < paired; ++second) {
            box.addItem(QString::fromStdString(layout.ColumnName(first)) + QStringLiteral(" + ") +
                            QString::fromStdString(layout.ColumnName(second)),
                        QStringLiteral("%1+%2").arg(first + 1).arg(second + 1));
        }
    }
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

HistoryPreviewDialog::HistoryPreviewDialog(const QString& path, const HistoryChoices& choices,
                                           QWidget* parent)
    : QDialog(parent),
      path_(path),
      choices_(choices),
      found_(new QLabel),
      refusal_(new QLabel),
      rows_(new QTableWidget),
      header_(ChoiceBox(kHeaderWords, choices_.header, "HeaderChoice")),
      decimal_(ChoiceBox(kDecimalWords, choices_.decimal, "DecimalChoice")),
      missing_(ChoiceBox(kMissingWords, choices_.missing, "MissingRowsChoice")),
      dateOrder_(ChoiceBox(kDateOrderWords, choices_.dateOrder, "DateOrderChoice")),
      encoding_(ChoiceBox(kEncodingWords, choices_.encoding, "EncodingChoice")),
      layout_(ChoiceBox(kLayoutWords, choices_.layout, "LayoutChoice")),
      duplicates_(ChoiceBox(kDuplicateWords, choices_.duplicates, "DuplicateRowsChoice")),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setObjectName(QStringLiteral("HistoryPreviewDialog"));
    setWindowTitle(tr("Sales history %1").arg(QFileInfo(path).fileName()));
    found_->setObjectName(QStringLiteral("HistoryFound"));
    found_->setWordWrap(true);
    refusal_->setObjectName(QStringLiteral("HistoryRefusal"));
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet(QStringLiteral("color: #b00020"));
    refusal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows_->setObjectName(QStringLiteral("HistoryRows"));
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->verticalHeader()->hide();

    auto* choiceRows = new QFormLayout;
    choiceRows->addRow(tr("La&yout:"), layout_);
    choiceRows->addRow(tr("&Header row:"), header_);
    choiceRows->addRow(tr("&Decimal separator:"), decimal_);
    choiceRows->addRow(tr("&Missing rows:"), missing_);
    choiceRows->addRow(tr("&Repeated rows:"), duplicates_);
    choiceRows->addRow(tr("Da&te order (slashed dates):"), dateOrder_);
    choiceRows->addRow(tr("&Encoding:"), encoding_);
    auto* columns = new QHBoxLayout;
    const std::array<const char*, 3> columnNames = {"NameColumn", "PeriodColumn", "DemandColumn"};
    for (std::size_t role = 0; role < columns_.size(); ++role) {
        columns_[role] = new QComboBox;
        columns_[role]->setObjectName(QString::fromLatin1(columnNames[role]));
        columns->addWidget(columns_[role]);
        connect(columns_[role], &QComboBox::activated, this, [this, role] {
            // A column triple is whole or not at all: the first one chosen takes the others as
            // found, the first one set back to "as found" gives them all back to the reader.
            if (columns_[role]->currentIndex() == 0) {
                for (QComboBox* box : columns_) {
                    box->setCurrentIndex(0);
                }
            } else {
                for (QComboBox* box : columns_) {
                    if (box->currentIndex() == 0) {
                        box->setCurrentIndex(box->property("found").toInt());
                    }
                }
            }
            TakeChoices();
        });
    }
    // The label's key goes to the first of its boxes.
    auto* columnsLabel = new QLabel(tr("Long table co&lumns\n(sales point, period, demand):"));
    columnsLabel->setBuddy(columns_[0]);
    choiceRows->addRow(columnsLabel, columns);
    for (QComboBox* box :
         {layout_, header_, decimal_, missing_, duplicates_, dateOrder_, encoding_}) {
        connect(box, &QComboBox::activated, this, &HistoryPreviewDialog::TakeChoices);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(found_);
    layout->addWidget(rows_, 1);
    layout->addWidget(refusal_);
    layout->addLayout(choiceRows);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(640, 480);
    ReadAgain();
}

HistoryPreviewDialog::Reading HistoryPreviewDialog::Read(const QString& path,
                                                         const HistoryChoices& choices) {
    Reading reading;
    try {
        reading.history = ReadSalesHistory(QFile::encodeName(path).toStdString(), choices,
                                           StandardInput::refused, &reading.layout);
    } catch (const RunError& refusal) {
        reading.refusal = QString::fromUtf8(refusal.what());
    } catch (const std::exception& failure) {  // nothing may escape the reading thread
        reading.refusal = QString::fromUtf8(failure.what());
    }
    return reading;
}

void HistoryPreviewDialog::TakeChoices() {
    choices_.header = ChosenIn<HeaderChoice>(*header_);
    choices_.decimal = ChosenIn<DecimalChoice>(*decimal_);
    choices_.missing = ChosenIn<MissingRows>(*missing_);
    choices_.dateOrder = ChosenIn<DateOrderChoice>(*dateOrder_);
    choices_.encoding = ChosenIn<EncodingChoice>(*encoding_);
    choices_.layout = ChosenIn<LayoutChoice>(*layout_);
    choices_.duplicates = ChosenIn<DuplicateRows>(*duplicates_);
    if (columns_[0]->currentIndex() > 0) {
        choices_.columns = HistoryColumns{columns_[0]->currentData().toString().toStdString(),
                                          columns_[1]->currentData().toString().toStdString(),
                                          columns_[2]->currentData().toString().toStdString()};
    } else {
        choices_.columns.reset();
    }
    ReadAgain();
}

void HistoryPreviewDialog::ReadAgain() {
    const int read = ++newestRead_;
    history_.reset();
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    refusal_->setText(tr("Reading..."));
    auto reading = std::make_shared<Reading>();
    QThread* thread = QThread::create(
        [reading, path = path_, choices = choices_] { *reading = Read(path, choices); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    // Queued to this dialog and dropped with it: a closed dialog hears of no read.
    connect(thread, &QThread::finished, this, [this, reading, read] {
        if (read == newestRead_) {
            Show(*reading);
        }
    });
    thread->start();
}

void HistoryPreviewDialog::Show(const Reading& reading) {
    found_->setText(FoundText(reading.layout, reading.history));
    refusal_->setText(reading.refusal);
    FillColumnChoices(reading.layout);
    if (reading.history) {
        ShowHistory(*reading.history);
    } else {
        ShowCells(reading.layout);
    }
    // Every heading whole, however long a name: the table scrolls instead.
    rows_->resizeColumnsToContents();
    history_ = reading.history;
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(history_.has_value());
    emit ReadFinished();
}

void HistoryPreviewDialog::ShowHistory(const SalesHistory& history) {
    const int periods = std::min(history.periods, kShownPeriods);
    rows_->clear();
    rows_->setRowCount(periods);
    rows_->setColumnCount(history.salesPoints + 1);
    QStringList titles{history.dates.empty() ? tr("Period") : tr("Date")};
    for (int salesPoint = 1; salesPoint <= history.salesPoints; ++salesPoint) {
        const std::size_t at = static_cast<std::size_t>(salesPoint) - 1;
        titles << (at < history.names.size() && !history.names[at].empty()
                       ? QString::fromStdString(history.names[at])
                       : tr("Sales point %1").arg(salesPoint));
    }
    rows_->setHorizontalHeaderLabels(titles);
    for (int period = 1; period <= periods; ++period) {
        const std::size_t at = static_cast<std::size_t>(period) - 1;
        rows_->setItem(period - 1, 0,
                       Cell(history.dates.empty() ? QString::number(period)
                                                  : QString::fromStdString(history.dates[at])));
        for (int salesPoint = 1; salesPoint <= history.salesPoints; ++salesPoint) {
            rows_->setItem(period - 1, salesPoint,
                           Cell(QString::number(history.Demand(salesPoint, period), 'g', 15)));
        }
    }
}

void HistoryPreviewDialog::ShowCells(const HistoryLayout& layout) {
    // Refused: the cells as the file holds them, so that the right choice can be seen.
    rows_->clear();
    rows_->setRowCount(static_cast<int>(layout.firstRows.size()));
    rows_->setColumnCount(static_cast<int>(layout.columnCount));
    QStringList titles;
    for (std::size_t column = 0; column < layout.columnCount; ++column) {
        titles << QString::fromStdString(layout.ColumnName(column));
    }
    rows_->setHorizontalHeaderLabels(titles);
    for (std::size_t row = 0; row < layout.firstRows.size(); ++row) {
        const std::vector<std::string>& cells = layout.firstRows[row];
        for (std::size_t column = 0; column < cells.size() && column < layout.columnCount;
             ++column) {
            rows_->setItem(static_cast<int>(row), static_cast<int>(column),
                           Cell(QString::fromStdString(cells[column])));
        }
    }
}

void HistoryPreviewDialog::FillColumnChoices(const HistoryLayout& layout) {
    if (layout.columnCount == 0) {
        return;  // refused before the columns were counted: the choices offered still hold
    }
    const bool found = layout.shapeSettled && layout.shape == HistoryShape::longTable;
    const std::array<std::size_t, 3> foundColumns = {found ? layout.keyColumns.front() : 0,
                                                     found ? layout.periodColumn : 1,
                                                     found ? layout.demandColumn : 2};
    for (std::size_t role = 0; role < columns_.size(); ++role) {
        QComboBox& box = *columns_[role];
        const QString chosen = box.currentData().toString();
        box.clear();
        box.addItem(tr("as found"), QString());
        for (std::size_t column = 0; column < layout.columnCount; ++column) {
            box.addItem(QString::fromStdString(layout.ColumnName(column)),
                        QString::number(column + 1));
        }
        if (role == 0) {
            AddKeyPairs(layout, box);
        }
        int foundAt = static_cast<int>(std::min(foundColumns[role] + 1, layout.columnCount));
        if (role == 0 && found && layout.keyColumns.size() == 2) {
            foundAt = std::max(foundAt, box.findData(QStringLiteral("%1+%2")
                                                         .arg(layout.keyColumns[0] + 1)
                                                         .arg(layout.keyColumns[1] + 1)));
        }
        box.setProperty("found", foundAt);
        box.setCurrentIndex(std::max(0, box.findData(chosen)));
    }
}

}  // namespace sf::ui
