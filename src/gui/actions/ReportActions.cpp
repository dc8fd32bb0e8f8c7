#include "gui/actions/ReportActions.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "device/TraceRecorder.h"
#include "directory/DirectoryEditor.h"
#include "gui/main/SettingsPanel.h"
#include "gui/main/WindowModule.h"
#include "gui/seams/WidgetSink.h"
#include "gui/support/ConnectionCheckWindow.h"
#include "gui/support/ContactWindow.h"
#include "gui/support/SupportReportDialog.h"
#include "module/ModuleMonitor.h"
#include "module/SupportReport.h"
#include "print/DirectoryPrint.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrinter>

namespace q540 {

ReportActions::ReportActions(const WindowParts& parts) : parts_(parts)
{
#ifdef Q_OS_LINUX
    system_ = std::make_unique<LinuxSystemProbe>();
#endif
}

// What Print and Export PDF show: the open directory in the name list's
// order, which is the order a write sends.
static DirectoryPrintout printoutOf(const WindowParts& parts)
{
    return {parts.files.document(), parts.editor.list().rows(), parts.texts.language(),
            QDateTime::currentDateTime()};
}

void ReportActions::printClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kApplicationTitle);
    QPrintDialog dialog(&printer, &parts_.window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintDirectory(printer, printoutOf(parts_));
}

void ReportActions::exportPdfClick()
{
    const FileCommands& files = parts_.files;
    const QString folder = files.filePath().isEmpty() ? QDir::homePath() : files.filePath();
    const QString base = files.fileName().isEmpty()
                             ? QStringLiteral("q540")
                             : QFileInfo(files.fileName()).completeBaseName();
    parts_.files.saveOtherFile(QStringLiteral("(*.pdf)"),
                               QDir(folder).filePath(base + QStringLiteral(".pdf")),
                               directoryPdf(printoutOf(parts_)));
}

void ReportActions::Informacja1Click()
{
    ContactWindow window(parts_.texts.language(), {}, &parts_.window);
    bool saveReport = false;
    window.offerSupportReport([&saveReport] { saveReport = true; });
    window.exec();
    // Asked once the contact window has gone.
    if (saveReport)
        saveSupportReport();
}

void ReportActions::Sprwersj2Click()
{
    SettingsPanel& panel = parts_.module.panel();
    panel.Ustaw_Formatke_Panelow_Edycji(SettingsPanel::kVersionMode);
    panel.exec();
}

void ReportActions::setSystemProbe(std::unique_ptr<SystemProbe> system)
{
    system_ = std::move(system);
}

ConnectionReport ReportActions::runConnectionCheck()
{
    // The check greets the module itself: the poll waits meanwhile, and one
    // that is still under way finishes first (the device's gate).
    ModuleMonitor& monitor = parts_.module.monitor();
    monitor.suspend();
    ConnectionReport report = checkConnection({system_.get(), monitor.link(), monitor.clock(), {}},
                                              parts_.texts.language());
    monitor.resume();
    return report;
}

void ReportActions::connectionCheckClick()
{
    ConnectionCheckWindow window([this] { return runConnectionCheck(); }, parts_.texts.language(),
                                 &parts_.window);
    window.exec();
}

void ReportActions::saveSupportReport()
{
    const int language = parts_.texts.language();
    const std::optional<bool> includeDirectory = askSupportReportOptions(language, &parts_.window);
    if (!includeDirectory)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString check = reportText(runConnectionCheck(), language);
    QApplication::restoreOverrideCursor();
    const QString report =
        supportReportText({check, QCoreApplication::arguments(), parts_.sink.recentMessages(),
                           parts_.module.recorder()->traces(), *includeDirectory});
    const QString suggested = QDir::home().filePath(
        QStringLiteral("q540-support-%1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmm"))));
    // Owner-only wherever it is saved: even masked, it tells who talked to
    // which module when.
    QString saved;
    if (parts_.files
            .saveOtherFile(QStringLiteral("(*.txt)"), suggested, report.toUtf8(), &saved,
                           FileAccess::OwnerOnly)
            .isDone())
        parts_.sink.showMessage(fixedText(FixedText::SupportReportSaved, language)
                                    .arg(QDir::toNativeSeparators(saved)));
}

} // namespace q540
