#include "ui/qt/user_guide_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {
// Room for the guide's pictures of the whole window (866 pixels wide) beside the text.
constexpr int kStartWidth = 960;
constexpr int kStartHeight = 720;
} // namespace

TfrmUserGuide::TfrmUserGuide(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmUserGuide"));
    setWindowTitle(QStringLiteral("Morvane user guide"));
    // A window of its own with a resizable border and a maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setSizeGripEnabled(true);

    txtGuide = new QTextBrowser(this);
    txtGuide->setObjectName(QStringLiteral("txtGuide"));
    txtGuide->setOpenExternalLinks(true);
    btnGuideHome = new QPushButton(QStringLiteral("Contents"), this);
    btnGuideHome->setObjectName(QStringLiteral("btnGuideHome"));
    btnGuideHome->setAutoDefault(false);
    btnGuideClose = new QPushButton(QStringLiteral("Close"), this);
    btnGuideClose->setObjectName(QStringLiteral("btnGuideClose"));
    btnGuideClose->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnGuideHome);
    buttons->addStretch();
    buttons->addWidget(btnGuideClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtGuide);
    layout->addLayout(buttons);
    resize(kStartWidth, kStartHeight);

    connect(btnGuideHome, &QPushButton::clicked, txtGuide, &QTextBrowser::home);
    connect(btnGuideClose, &QPushButton::clicked, this, &QDialog::close);
    ApplyTooltips(*this);
}

void TfrmUserGuide::OpenGuide(const QString &path) {
    // A local file named *.md is read as Markdown; its pictures resolve beside it.
    txtGuide->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
}

} // namespace morvane::qt
