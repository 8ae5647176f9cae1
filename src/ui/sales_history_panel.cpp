#include "ui/sales_history_panel.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "history/history_reader.h"
#include "runtime/run_error.h"
#include "state/demand_model.h"
#include "ui/form_layout.h"
#include "ui/history_preview_dialog.h"
#include "ui/window_memory.h"

namespace sf::ui {
namespace {

constexpr char kHistoryFolderKey[] = "histories/folder";

template <typename Control>
Control* Find(const QWidget& window, const char* name) {
    return window.findChild<Control*>(QString::fromLatin1(name));
}

QPushButton* CreateButton(QWidget& window, const char* name, const QString& caption,
                          const TwipsRect& area) {
    auto* button = new QPushButton(caption, &window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(ToPixels(area));
    return button;
}

}  // namespace

SalesHistoryPanel::SalesHistoryPanel(QWidget& window, MessageSink& messages)
    : QObject(&window),
      window_(window),
      messages_(messages),
      useSalesHistory_(CreateButton(window, "UseSalesHistory", tr("Use sales history..."),
                                    kUseSalesHistoryArea)),
      useSimulatedDemand_(CreateButton(window, "UseSimulatedDemand", tr("Use simulated demand"),
                                       kUseSimulatedDemandArea)),
      demandSource_(new QLabel(&window)),
      salesPoints_(Find<QLineEdit>(window, "Endpointnumber")),
      periods_(Find<QLineEdit>(window, "Periodnumber")) {
    demandSource_->setObjectName(QStringLiteral("DemandSource"));
    demandSource_->setGeometry(ToPixels(kDemandSourceArea));
    demandSource_->hide();
    for (const std::string_view model : kDemandModelNames) {
        modelInputs_.push_back(window.findChild<QWidget*>(QString::fromUtf8(model)));
    }
    for (const char* name : {"randomwalk", "p1low", "p1up", "p2low", "p2up", "p3"}) {
        modelInputs_.push_back(Find<QWidget>(window, name));
    }
    // Between the limit boxes and Run, as they stand.
    QWidget::setTabOrder(Find<QWidget>(window, "p3"), useSalesHistory_);
    QWidget::setTabOrder(useSalesHistory_, useSimulatedDemand_);
    QWidget::setTabOrder(useSimulatedDemand_, Find<QWidget>(window, "Run"));

    connect(useSalesHistory_, &QPushButton::clicked, this, &SalesHistoryPanel::ChooseFile);
    connect(useSimulatedDemand_, &QPushButton::clicked, this,
            &SalesHistoryPanel::UseSimulatedDemand);
    // A file dropped on the form is previewed as a sales history, as if chosen in the dialog.
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    ApplyLock();
}

bool SalesHistoryPanel::eventFilter(QObject* watched, QEvent* event) {
    const bool drag = event->type() == QEvent::DragEnter;
    if (watched != &window_ || (!drag && event->type() != QEvent::Drop)) {
        return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    if (running_ || urls.size() != 1 || !urls.front().isLocalFile()) {
        event->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (!drag) {
        Preview(urls.front().toLocalFile());
    }
    return true;
}

void SalesHistoryPanel::SetRunning(bool running) {
    running_ = running;
    ApplyLock();
}

void SalesHistoryPanel::ChooseFile() {
    if (running_) {  // the menu entry too waits for the run
        return;
    }
    // The dialog opens where the last history came from, in this start or an earlier one.
    auto* dialog =
        new QFileDialog(&window_, tr("Use sales history"),
                        WindowSettings().value(kHistoryFolderKey, QDir::homePath()).toString(),
                        tr("Sales history (*.csv *.tsv *.txt);;All files (*)"));
    dialog->setObjectName(QStringLiteral("SalesHistoryDialog"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { Preview(path); });
    dialog->open();
}

void SalesHistoryPanel::Preview(const QString& path) {
    if (running_) {
        return;
    }
    RememberFolder(path);
    auto* preview =
        new HistoryPreviewDialog(path, RememberedHistoryChoices(WindowSettings(), path), &window_);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview, &QDialog::accepted, this, [this, preview, path] {
        if (!running_ && preview->History()) {
            Use(*preview->History());
            emit FileUsed(path);
        }
    });
    preview->open();
}

void SalesHistoryPanel::RememberFolder(const QString& path) {
    WindowSettings().setValue(kHistoryFolderKey, QFileInfo(path).absolutePath());
}

bool SalesHistoryPanel::UseFile(const QString& path) {
    if (running_) {
        return false;
    }
    RememberFolder(path);
    try {
        Use(ReadSalesHistory(QFile::encodeName(path).toStdString(),
                             RememberedHistoryChoices(WindowSettings(), path)));
    } catch (const RunError& refusal) {
        messages_.ShowError(window_, QString::fromUtf8(refusal.what()));
        return false;
    }
    emit FileUsed(path);
    return true;
}

bool SalesHistoryPanel::UseScenarioHistory(const HistorySource& source,
                                           const std::filesystem::path& scenarioFile) {
    try {
        Use(ReadScenarioHistory(source, scenarioFile));
    } catch (const RunError& refusal) {
        messages_.ShowError(window_, QString::fromUtf8(refusal.what()));
        return false;
    }
    return true;
}

std::optional<QString> SalesHistoryPanel::UseRememberedHistory(const HistorySource& source) {
    try {
        Use(ReadSalesHistory(source.path, source.choices));
    } catch (const RunError& refusal) {
        return QString::fromUtf8(refusal.what());
    }
    return std::nullopt;
}

void SalesHistoryPanel::Use(SalesHistory history) {
    const QString path = QFile::decodeName(history.file.c_str());
    QSettings settings = WindowSettings();
    RememberHistoryChoices(settings, path, history.choices);
    if (!history_) {
        typedSalesPoints_ = salesPoints_->text();
        typedPeriods_ = periods_->text();
    }
    salesPoints_->setText(QString::number(history.salesPoints));
    periods_->setText(QString::number(history.periods));
    const QString size =
        QLocale().formattedDataSize(QFileInfo(path).size(), 1, QLocale::DataSizeSIFormat);
    const QString source =
        tr("Demand read from %1 (%2)").arg(QString::fromStdString(history.name), size);
    demandSource_->setText(
        demandSource_->fontMetrics().elidedText(source, Qt::ElideMiddle, demandSource_->width()));
    demandSource_->setToolTip(source);
    demandSource_->show();
    history_ = std::move(history);
    ApplyLock();
}

void SalesHistoryPanel::UseSimulatedDemand() {
    if (running_ || !history_) {
        return;
    }
    salesPoints_->setText(typedSalesPoints_);
    periods_->setText(typedPeriods_);
    demandSource_->hide();
    history_.reset();
    ApplyLock();
}

void SalesHistoryPanel::ApplyLock() {
    useSalesHistory_->setEnabled(!running_);
    useSimulatedDemand_->setEnabled(!running_ && history_.has_value());
    if (running_) {
        return;  // the window holds every input still while a run works
    }
    salesPoints_->setEnabled(!history_);
    periods_->setEnabled(!history_);
    for (QWidget* input : modelInputs_) {
        input->setEnabled(!history_);
    }
}

}  // namespace sf::ui
