#include "ui/export_folder_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace sf::ui {
namespace {

// A folder dialog that takes a name no folder has yet, where the plain one says "Directory not
// found": an export needs a new or empty folder, so a new name is the usual answer.
class ExportFolderDialog : public QFileDialog {
  public:
    ExportFolderDialog(QWidget& parent, const QString& start)
        : QFileDialog(&parent, QStringLiteral("Export the results into a new or empty folder"),
                      start) {
        setObjectName(QStringLiteral("ExportFolderDialog"));
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        // The plain dialog of the toolkit, whose answer the override below can take.
        setOption(QFileDialog::DontUseNativeDialog);
        setLabelText(QFileDialog::FileName, QStringLiteral("Folder:"));
        setLabelText(QFileDialog::Accept, QStringLiteral("&Export"));
    }

    QString Chosen() const { return chosen_; }

    void accept() override {
        const QStringList typed = selectedFiles();
        if (typed.size() == 1 && !QFileInfo::exists(typed.front())) {
            chosen_ = typed.front();
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
        if (result() == QDialog::Accepted && !selectedFiles().isEmpty()) {
            chosen_ = selectedFiles().front();
        }
    }

  private:
    QString chosen_;
};

}  // namespace

QString AskExportFolder(QWidget& parent, const QString& start) {
    ExportFolderDialog dialog(parent, start);
    return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : QString();
}

}  // namespace sf::ui
