#pragma once

#include <thread>

#include <QProgressDialog>

#include "midi/paced_sender.h"
#include "ui/dialogs.h"

class QPushButton;

namespace morvane::qt {

// The progress of a job that runs on a thread of its own: "Sending wave N of M" with a bar and a
// Cancel button. Cancel (also Esc and the close box) raises the job's flag and waits for the
// job to stop; the dialog then closes itself, calls the job's Finished on this thread and is
// deleted. Destroying it while the job runs (the window closing) stops and waits for the job and
// does not call Finished.
class TfrmProgress final : public QProgressDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmProgress)

public:
    explicit TfrmProgress(ui::ProgressJob job, QWidget *parent = nullptr);
    ~TfrmProgress() override;

    // Shows the dialog and starts the job.
    void Start();
    void btnCancelClick();

    QPushButton *btnCancel = nullptr;

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Done();
    void StopAndWait();

    ui::ProgressJob job_;
    midi::CancelFlag cancel_;
    std::thread worker_;
};

} // namespace morvane::qt
