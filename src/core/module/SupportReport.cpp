#include "module/SupportReport.h"

#include "base/AppInfo.h"

#include <QLocale>
#include <QSysInfo>

#include <unicode/uversion.h>

namespace q540 {

namespace {

QString icuVersion()
{
    UVersionInfo version;
    u_getVersion(version);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return QString::fromLatin1(text);
}

QString heading(const QString& title)
{
    return QStringLiteral("\n== %1 ==\n").arg(title);
}

} // namespace

QString supportReportText(const SupportReportInput& input)
{
    QString report = QStringLiteral("Q540 support report, %1\n")
                         .arg(QDateTime::currentDateTime().toString(Qt::ISODate));
    report += QStringLiteral("program: %1\n").arg(kVersion);
    report += QStringLiteral("system: %1, kernel %2 %3, %4\n")
                  .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                       QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture());
    report += QStringLiteral("Qt: %1, ICU: %2\n").arg(QLatin1String(qVersion()), icuVersion());
    report += QStringLiteral("locale: %1\n").arg(QLocale::system().name());
    report +=
        QStringLiteral("command line: %1\n").arg(maskPasswordOption(input.commandLine).join(u' '));
    report += QStringLiteral("directory text: %1\n")
                  .arg(input.includeDirectory ? QStringLiteral("included")
                                              : QStringLiteral("masked (**)"));

    report += heading(QStringLiteral("connection check"));
    report += input.connectionCheck;

    report += heading(QStringLiteral("recent messages"));
    for (const QString& message : input.recentMessages)
        report += message + u'\n';

    report += heading(QStringLiteral("byte traces of the last connections"));
    for (const RecordedTrace& trace : input.traces) {
        report += QStringLiteral("-- %1").arg(trace.started.toString(Qt::ISODateWithMs));
        if (trace.repeats > 1)
            report += QStringLiteral(" (the same %1 times in a row)").arg(trace.repeats);
        report += u'\n';
        const QString text = maskPassword(trace.text);
        report += input.includeDirectory ? text : maskDirectoryText(text);
    }
    return report;
}

QStringList maskPasswordOption(QStringList arguments)
{
    static const QString option = QStringLiteral("--password");
    static const QString mask = QStringLiteral("****");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            arguments[++i] = mask;
        else if (arguments[i].startsWith(option + u'='))
            arguments[i] = option + u'=' + mask;
    }
    return arguments;
}

} // namespace q540
