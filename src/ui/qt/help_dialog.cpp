#include "ui/qt/help_dialog.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QStringList>

#include "files/help_text.h"
#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 219;
} // namespace

TfrmHelp::TfrmHelp(const std::vector<std::string> &lines, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    // A fixed dialog border: no minimise, maximise or resize.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, kClientWidth, kClientHeight);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    SetLines(lines);
    ApplyTooltips(*this);
}

bool TfrmHelp::event(QEvent *e) {
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(e);
}

void TfrmHelp::FormActivate() {
    std::vector<std::string> lines = Lines();
    files::LoadHelpLines(lines, files::HelpFileCandidates());
    SetLines(lines);
}

std::vector<std::string> TfrmHelp::Lines() const {
    std::vector<std::string> lines;
    if (Memo1->document()->isEmpty())
        return lines;
    for (const QString &line : Memo1->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

void TfrmHelp::SetLines(const std::vector<std::string> &lines) {
    QStringList text;
    for (const std::string &line : lines)
        text.append(QString::fromStdString(line));
    Memo1->setPlainText(text.join(QLatin1Char('\n')));
}

} // namespace morvane::qt
