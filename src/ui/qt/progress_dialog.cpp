#include "ui/qt/progress_dialog.h"

#include <QCloseEvent>
#include <QPushButton>

#include "ui/qt/tooltips.h"

namespace morvane::qt {

TfrmProgress::TfrmProgress(ui::ProgressJob job, QWidget *parent)
    : QProgressDialog(parent), job_(std::move(job)) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QString::fromUtf8(job_.Title));
    // Not modal: the window stays usable while the job runs on its own thread.
    setWindowModality(Qt::NonModal);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    setRange(0, job_.Total);
    setMinimumWidth(320);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    setCancelButton(btnCancel);
    // The dialog's own cancel() would hide it at once; it stays until the job has stopped.
    disconnect(this, &QProgressDialog::canceled, this, &QProgressDialog::cancel);
    connect(this, &QProgressDialog::canceled, this, [this] { btnCancelClick(); });
    setLabelText(QString());
    ApplyTooltips(*this);
}

TfrmProgress::~TfrmProgress() {
    StopAndWait();
}

void TfrmProgress::Start() {
    show();
    worker_ = std::thread([this] {
        const ui::ProgressJob::Report report = [this](int step, const std::string &text) {
            const QString label = QString::fromUtf8(text);
            // Queued to the dialog's thread; dropped if the dialog is gone by then.
            QMetaObject::invokeMethod(
                this,
                [this, step, label] {
                    setValue(step);
                    if (!cancel_.Cancelled())
                        setLabelText(label);
                },
                Qt::QueuedConnection);
        };
        if (job_.Run)
            job_.Run(report, cancel_);
        QMetaObject::invokeMethod(
            this, [this] { Done(); }, Qt::QueuedConnection);
    });
}

void TfrmProgress::btnCancelClick() {
    if (cancel_.Cancelled())
        return;
    cancel_.Cancel();
    setLabelText(QStringLiteral("Stopping after the wave in flight ..."));
    btnCancel->setEnabled(false);
}

void TfrmProgress::reject() {
    btnCancelClick();
}

void TfrmProgress::closeEvent(QCloseEvent *event) {
    event->ignore();
    btnCancelClick();
}

void TfrmProgress::Done() {
    if (worker_.joinable())
        worker_.join();
    hide();
    deleteLater();
    if (job_.Finished)
        job_.Finished();
}

void TfrmProgress::StopAndWait() {
    if (!worker_.joinable())
        return;
    cancel_.Cancel();
    worker_.join();
}

} // namespace morvane::qt
