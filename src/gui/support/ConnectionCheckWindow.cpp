#include "gui/support/ConnectionCheckWindow.h"

#include "base/FixedTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace q540 {

namespace {

QString markOf(CheckStep::Verdict verdict)
{
    switch (verdict) {
    case CheckStep::Verdict::Good:
        return QStringLiteral("<span style='color:#1a7f37'>&#10004;</span>");
    case CheckStep::Verdict::Note:
        return QStringLiteral("<span style='color:#6e7781'>&#9679;</span>");
    case CheckStep::Verdict::Problem:
        break;
    }
    return QStringLiteral("<span style='color:#cf222e'>&#10008;</span>");
}

} // namespace

ConnectionCheckWindow::ConnectionCheckWindow(std::function<ConnectionReport()> check, int language,
                                             QWidget* parent)
    : QDialog(parent), check_(std::move(check)), language_(language), view_(new QTextBrowser)
{
    setObjectName(QStringLiteral("ConnectionCheckWindow"));
    setWindowTitle(fixedText(FixedText::ConnectionCheckTitle, language));
    view_->setObjectName(QStringLiteral("ConnectionCheckReport"));
    view_->setAccessibleName(windowTitle());
    view_->setOpenLinks(false);
    auto* buttons = new QDialogButtonBox;
    auto* again = buttons->addButton(fixedText(FixedText::CheckAgain, language),
                                     QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("CheckAgain"));
    auto* copy = buttons->addButton(fixedText(FixedText::CopyReport, language),
                                    QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("CopyReport"));
    auto* close =
        buttons->addButton(fixedText(FixedText::Close, language), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(again, &QPushButton::clicked, this, &ConnectionCheckWindow::checkAgain);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(reportText(report_, language_)); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    resize(720, 420);
    checkAgain();
}

void ConnectionCheckWindow::checkAgain()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    report_ = check_();
    QApplication::restoreOverrideCursor();
    show(report_);
}

void ConnectionCheckWindow::show(const ConnectionReport& report)
{
    QString html = QStringLiteral("<table cellspacing='6'>");
    for (const CheckStep& step : report.steps) {
        html += QStringLiteral("<tr><td valign='top'>%1</td><td valign='top'><b>%2</b></td>"
                               "<td valign='top'>%3")
                    .arg(markOf(step.verdict), step.title.toHtmlEscaped(),
                         step.finding.toHtmlEscaped());
        if (!step.advice.isEmpty())
            html += QStringLiteral("<br/><i>%1</i>").arg(step.advice.toHtmlEscaped());
        html += QStringLiteral("</td></tr>");
    }
    html += QStringLiteral("</table>");
    view_->setHtml(html);
}

} // namespace q540
